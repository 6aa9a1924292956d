#!/bin/sh
# check_needed.sh BANNED FILE...
# Fails when a program loads a shared library whose name matches the extended
# regular expression BANNED: one of its own ELF NEEDED entries, or one that
# those bring along (the dynamic loader's list, read with ldd). The layer a
# program links decides which libraries are loaded with it.
banned=$1
shift
[ $# -gt 0 ] || { echo "no programs to check" >&2; exit 2; }
status=0
for f in "$@"; do
  needed=$(readelf -d "$f" 2>/dev/null | sed -n 's/.*(NEEDED).*\[\(.*\)\].*/\1/p')
  loaded=$(ldd "$f" 2>/dev/null | sed -n 's/^[[:space:]]*\([^[:space:]]*\.so[^[:space:]]*\).*/\1/p')
  if [ -z "$needed" ] || [ -z "$loaded" ]; then
    echo "$f: no libraries read (readelf or ldd failed)" >&2
    status=1
    continue
  fi
  bad=$(printf '%s\n%s\n' "$needed" "$loaded" | grep -E "$banned" | sort -u)
  if [ -n "$bad" ]; then
    echo "$f loads:" $bad
    status=1
  fi
done
[ $status -eq 0 ] && echo "checked $#: none loads $banned"
exit $status
