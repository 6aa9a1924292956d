#!/bin/sh
# check_needed.sh BANNED FILE...
# Fails when a program's ELF NEEDED list names a shared library matching the
# extended regular expression BANNED: the layer a program links decides which
# libraries are loaded with it.
banned=$1
shift
[ $# -gt 0 ] || { echo "no programs to check" >&2; exit 2; }
status=0
for f in "$@"; do
  needed=$(readelf -d "$f" 2>/dev/null | sed -n 's/.*(NEEDED).*\[\(.*\)\].*/\1/p')
  if [ -z "$needed" ]; then
    echo "$f: no NEEDED entries read" >&2
    status=1
    continue
  fi
  bad=$(printf '%s\n' "$needed" | grep -E "$banned")
  if [ -n "$bad" ]; then
    echo "$f loads:" $bad
    status=1
  fi
done
[ $status -eq 0 ] && echo "checked $#: none loads $banned"
exit $status
