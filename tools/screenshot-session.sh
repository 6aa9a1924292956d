# Sourced by the screenshot scripts (tools/*/screenshots.sh): the build and
# output folders from the arguments, a scratch folder, a virtual display and
# the bundled services on a port of their own, all stopped at exit.
#
#   . tools/screenshot-session.sh BUILD_DIR OUT_DIR DISPLAY_NUMBER PORT
set -euo pipefail
build=$1
out=$2
display=:$3
port=$4
mkdir -p "$out"

work=$(mktemp -d)
pids=()
cleanup() {
  # The player first, the display last.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display TAVO_AUDIO_OUTPUT=null
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
"$build/bin/tavo-services" --port "$port" >/dev/null &
pids+=($!)

# A copy of the program folder in $work/NAME whose services.ini points at
# this session's services.
program_folder() {
  cp -r data "$work/$1"
  sed -i "s#=http://127.0.0.1:[0-9]*#=http://127.0.0.1:$port#" "$work/$1/services.ini"
}
