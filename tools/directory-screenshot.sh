#!/usr/bin/env bash
# Screenshots of the windows of the open services against the fakes, under
# a virtual display: docs/radio-directory.png (results), with a closed
# directory docs/radio-directory-offline.png, and docs/lyrics-search.png.
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
for mode in online offline lyrics; do
  arg=""; name=radio-directory.png; crop=760x480+40+40
  if [ $mode = offline ]; then arg=--offline; name=radio-directory-offline.png; fi
  if [ $mode = lyrics ]; then arg=--lyrics; name=lyrics-search.png; crop=640x360+40+40; fi
  "$build/bin/online_windows_shot" $arg &
  shot=$!
  sleep 2.5
  import -window root -crop $crop +repage "$out/$name"
  kill $shot
  wait $shot 2>/dev/null || true
done
