#!/usr/bin/env bash
# Checks under a virtual display that the locked lyrics window lets the
# pointer through to what lies under it, and the unlocked one does not: the
# X server's answer to "which window is under the pointer" follows the
# window's input shape.
#
#   tests/lyrics/lock_check.sh DEMO_PROGRAM     (run inside xvfb-run)
#
# The server must run with -noreset: without it the X server resets each time
# its last client leaves (between two xdotool calls, or between the two demo
# runs), and a client connecting during the reset is refused.
set -u
demo=$1
under_pointer() {  # the window under the pointer at the lyrics window's middle
  "$demo" --karaoke $1 & pid=$!
  w=""
  for _ in $(seq 50); do
    w=$(xdotool search --onlyvisible --name '^lrcBox$' 2>/dev/null | head -n 1)
    [ -n "$w" ] && break
    sleep 0.1
  done
  [ -n "$w" ] || { echo "no lyrics window" >&2; kill $pid 2>/dev/null; echo none; return; }
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$w")"
  xdotool mousemove $((X + WIDTH / 3)) $((Y + HEIGHT / 2))
  sleep 0.2
  eval "$(xdotool getmouselocation --shell)"
  kill $pid; wait $pid 2>/dev/null
  [ "$WINDOW" = "$w" ] && echo yes || echo no
}
unlocked=$(under_pointer "")
locked=$(under_pointer --lock)
echo "unlocked window under the pointer: $unlocked; locked: $locked"
[ "$unlocked" = yes ] && [ "$locked" = no ]
