#!/usr/bin/env bash
# Screenshots of the shell as a user sees it, under a virtual display with a
# tray host (trayer): the splash, the tray icon's menu, the about window and
# the settings button's menu. Also prints how long the start took until the
# main window was shown (splash included).
#
#   tools/shell-art/screenshots.sh [BUILD_DIR] [OUT_DIR]     (default: build docs)
#
# The player runs on a copy of the program folder with its own settings and
# its own local services, so nothing of the user's is touched.
cd "$(dirname "$0")/../.."
. tools/screenshot-session.sh "${1:-build}" "${2:-docs}" "${TAVO_SHOT_DISPLAY:-93}" "${TAVO_SHOT_PORT:-17393}"

# The program folder: the shipped data, the services on our own port.
program_folder home
export TAVO_HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$work/run" && chmod 700 "$work/run"

# A plain desktop behind the windows.
convert -size 1024x768 gradient:'#3b5878'-'#15202c' "$work/desktop.png"
display -window root "$work/desktop.png" 2>/dev/null || true  # sets it, then returns 1
trayer --edge bottom --align right --widthtype request --height 24 --tint 0x2a3f5a --transparent true --alpha 40 >/dev/null 2>&1 &
pids+=($!)
sleep 1

# A visible window of the program with the given size ("WxH"), or nothing.
window_of_size() {
  for w in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
    if xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: $2"; then echo "$w"; return; fi
  done
}

start=$(date +%s%N)
"$build/bin/tavo-musicbox" &
pids+=($!)
splash="" main=""
for _ in $(seq 1500); do
  if [ -z "$splash" ]; then
    splash=$(window_of_size 'Tavo' 440x260)
    if [ -n "$splash" ]; then
      splashed=$(date +%s%N)
      import -window "$splash" "$out/shell-splash.png"
    fi
  fi
  main=$(window_of_size 'Tavo' 330x)
  [ -n "$main" ] && break
  sleep 0.01
done
shown=$(date +%s%N)
[ -n "$main" ] || { echo "screenshots.sh: the main window did not show" >&2; exit 1; }
echo "start to splash shown: $(( (${splashed:-$shown} - start) / 1000000 )) ms"
echo "start to main window shown: $(( (shown - start) / 1000000 )) ms"
sleep 1.5

# The tray icon sits at the right end of the panel at the foot of the
# screen; its right-click menu opens above it.
xdotool mousemove 1012 756 click 3
sleep 0.8
import -window root -crop 420x220+604+548 "$out/shell-tray-menu.png"

# The about window, chosen from that menu with the keyboard.
xdotool key Down Down Down Down Return
sleep 0.8
about=$(window_of_size '关于' 400x250)
[ -n "$about" ] && import -window "$about" "$out/shell-about.png"
[ -n "$about" ] && xdotool windowunmap "$about"

# The settings button of the main window (its "≡" at 265, 15).
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + 265)) $((Y + 15)) click 1
sleep 0.8
import -window root -crop 520x420+$((X - 10))+$((Y - 10)) "$out/shell-settings-menu.png"
xdotool key Escape
echo "screenshots in $out"
