#!/usr/bin/env bash
# Screenshots of the main window in every shipped skin, as a user sees it
# under a virtual display: a song playing, the pointer over another row.
# The lyrics window of every skin (the default first) goes into one picture,
# lyrics-window.png.
#
#   tools/skin-art/screenshots.sh [BUILD_DIR] [OUT_DIR]     (default: build docs)
#
# Each run uses a copy of the program folder with its own settings and its
# own local services, so nothing of the user's is touched.
cd "$(dirname "$0")/../.."
. tools/screenshot-session.sh "${1:-build}" "${2:-docs}" "${TAVO_SHOT_DISPLAY:-94}" "${TAVO_SHOT_PORT:-17394}"
sleep 1

for skin in "$build"/bin/skin/*/; do
  name=$(basename "$skin")
  program_folder "$name"
  run="$work/$name"
  mkdir -p "$run/config/tavo-musicbox" "$run/xdg" && chmod 700 "$run/xdg"
  printf '[Skin]\nname=%s\n[Config]\nLrcShow=1\n' "$name" > "$run/config/tavo-musicbox/Tavo音乐盒2010.ini"
  TAVO_HOME="$run" XDG_CONFIG_HOME="$run/config" XDG_RUNTIME_DIR="$run/xdg" "$build/bin/tavo-musicbox" &
  player=$!
  main=""
  for _ in $(seq 100); do
    main=$(xdotool search --onlyvisible --name 'Tavo' 2>/dev/null | while read -r w; do
      xdotool getwindowgeometry "$w" | grep -q 'Geometry: 330x' && echo "$w"; done | head -n 1 || true)
    [ -n "$main" ] && break
    sleep 0.1
  done
  [ -n "$main" ] || { echo "screenshots.sh: no main window for $name" >&2; exit 1; }
  sleep 1.5
  eval "$(xdotool getwindowgeometry --shell "$main")"
  # Play the first row, then rest the pointer on the fourth.
  xdotool mousemove $((X + 60)) $((Y + 124)) click 1
  sleep 3
  xdotool mousemove $((X + 80)) $((Y + 199))
  sleep 0.6
  import -window "$main" "$out/skin-$name.png"
  lyrics=$(xdotool search --onlyvisible --name '^lrcBox$' | head -n 1)
  [ -n "$lyrics" ] || { echo "screenshots.sh: no lyrics window for $name" >&2; exit 1; }
  import -window "$lyrics" "$work/lyrics-$name.png"
  kill "$player"; wait "$player" 2>/dev/null || true
  echo "$out/skin-$name.png"
done
# The default skin on top, each further one below a thin gap.
strip=("$work/lyrics-蓝色科技.png")
for f in "$work"/lyrics-*.png; do
  [ "$f" = "${strip[0]}" ] || strip+=(\( "$f" -background '#20242a' -splice 0x6 \))
done
convert "${strip[@]}" -append -strip "$out/lyrics-window.png"
echo "$out/lyrics-window.png"
