#!/usr/bin/env bash
# Screenshots of the "电台目录" window against the fake directory, under a
# virtual display: docs/radio-directory.png (results) and, with a closed
# directory, docs/radio-directory-offline.png.
#
#   tools/directory-screenshot.sh BUILD_DIR [OUT_DIR]
set -euo pipefail
build=$1
out=${2:-docs}
mkdir -p "$out"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 840x560x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
sleep 0.5
for mode in online offline; do
  arg=""; name=radio-directory.png
  if [ $mode = offline ]; then arg=--offline; name=radio-directory-offline.png; fi
  "$build/bin/directory_window_shot" $arg &
  shot=$!
  sleep 2.5
  import -window root -crop 780x520+40+40 +repage "$out/$name"
  kill $shot
  wait $shot 2>/dev/null || true
done
