#!/usr/bin/env bash
# usage: drag-title.sh IDLER_EXE DEMO_DRIVER_EXE
# The one gesture only a real pointer makes: the X server's own pointer
# (xdotool) presses the panel's title, moves and lets go, through the
# system's move loop under Wine's X11 driver. The panel must follow the
# pointer exactly, and, dropped with its right part off the screen, slide
# back until it is flush with the screen's edge. A lane of its own
# (WENDREL_WINE_LANE), with its own prefix and X server.
set -euo pipefail
idler=$1 driver=$2
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WENDREL_WINE_DRIVER=x11
source "$top/scripts/wine-env.sh"
source "$top/scripts/x-server.sh"
die() { echo "FAIL: $*" >&2; exit 1; }

wendrel_wine_ensure_prefix
wendrel_x_start Xvfb -screen 0 1024x768x24 -nolisten tcp
export DISPLAY=$WENDREL_X_DISPLAY
x_pid=$WENDREL_X_PID
cleanup() {
  wendrel_wine_stop
  wendrel_x_stop "$x_pid"
}
trap cleanup EXIT

# A stored handle: the program starts without asking for one. No client
# runs, so its lines go nowhere.
"$WENDREL_WINE64" reg add 'HKCU\Software\VB and VBA Program Settings\wendrel idler\settings' \
  /v handle /d dragger /f >/dev/null 2>&1 || die "cannot store a handle"
"$WENDREL_WINE64" "$idler" </dev/null >/dev/null 2>&1 &
"$WENDREL_WINE64" "$driver" wait-window WendrelIdler B 20000 >/dev/null 2>&1 || die "the panel did not come up"

rect() { "$WENDREL_WINE64" "$driver" rect WendrelIdler B 2>/dev/null | tr -d '\r'; }
# Presses the title 60 and 14 pixels into the panel, moves by DX, DY in ten
# steps, as a hand would, and lets go.
drag() {
  local left top _
  read -r left top _ <<<"$(rect)"
  xdotool mousemove $((left + 60)) $((top + 14)) mousedown 1
  for _ in $(seq 10); do
    sleep 0.05
    xdotool mousemove_relative -- $(($1 / 10)) $(($2 / 10))
  done
  sleep 0.05
  xdotool mouseup 1
}
# Waits up to 5 s for the panel's rectangle to read $1.
expect_rect() {
  local now
  for _ in $(seq 100); do
    now=$(rect)
    [ "$now" = "$1" ] && return 0
    sleep 0.05
  done
  die "$2: the panel is at $now, not $1"
}

start=$(rect)
[ "$start" = "326 215 479 344" ] || die "the panel came up at $start"
drag 200 100
expect_rect "526 315 679 444" "dragged by 200, 100"
echo "dragged by 200, 100: the panel moved with the pointer"
# Dropped at 946: its right edge would stand at 1099, past the screen's
# 1024; it slides back to 871, the height kept.
drag 420 0
expect_rect "871 315 1024 444" "dropped off the right edge"
echo "dropped 79 pixels off the right edge: the panel slid back flush with it"
"$WENDREL_WINE64" "$driver" close WendrelIdler B >/dev/null 2>&1 || true
