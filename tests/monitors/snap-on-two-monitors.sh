#!/usr/bin/env bash
# usage: snap-on-two-monitors.sh LAYOUT WENDREL_TESTS_EXE
# The Win32 snap-back test on a desktop of two monitors side by side, under
# Wine's X11 driver: a virtual X server (Xvfb) holds a nested one (Xephyr)
# with two screens joined by Xinerama, placed by -origin. With XRandR off,
# Wine reports them as two monitors at those places; plain Xvfb would put
# every screen at 0,0. Windows must see two monitors, and the panel must
# slide back onto the one it was dropped on.
#
# LAYOUT is where the second monitor lies: right, left, above or below.
# Each layout runs in a lane of its own (WENDREL_WINE_LANE), with its own
# prefix and X servers, beside the others.
set -euo pipefail
layout=$1 tests_exe=$2
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WENDREL_WINE_DRIVER=x11
source "$top/scripts/wine-env.sh"
source "$top/scripts/x-server.sh"

# The main screen first, then the second, each with its place on the desktop.
case $layout in
  right) screens="-screen 1024x768 -origin 1024,0 -screen 1280x1024" ;;
  left)  screens="-screen 1024x768 -origin -1280,0 -screen 1280x1024" ;;
  above) screens="-screen 1024x768 -origin 100,-600 -screen 800x600" ;;
  below) screens="-screen 1024x768 -origin -200,768 -screen 1280x720" ;;
  *) echo "usage: $0 right|left|above|below WENDREL_TESTS_EXE" >&2; exit 2 ;;
esac

wendrel_wine_ensure_prefix
"$WENDREL_WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null 2>&1
wendrel_wine_stop

# Never on the user's own display: the nested server shows as a window.
wendrel_x_start Xvfb -screen 0 2600x2000x24 -nolisten tcp
outer=$WENDREL_X_DISPLAY outer_pid=$WENDREL_X_PID
# shellcheck disable=SC2086  # the screens are words of their own
DISPLAY=$outer wendrel_x_start Xephyr $screens +xinerama -ac -noreset -nolisten tcp
nested_pid=$WENDREL_X_PID
cleanup() {
  wendrel_wine_stop
  wendrel_x_stop "$nested_pid"
  wendrel_x_stop "$outer_pid"
}
trap cleanup EXIT

if DISPLAY=$WENDREL_X_DISPLAY WENDREL_EXPECT_MONITORS=2 timeout 100 "$WENDREL_WINE64" "$tests_exe" \
     --gtest_filter='Win32SnapWindow.*' --gtest_brief=1 </dev/null 2>/dev/null | tr -d '\r' |
     grep -q '^\[  PASSED  \] 1 test'; then
  echo "second monitor $layout: the panel slides back onto the monitor it was dropped on"
else
  echo "FAIL: second monitor $layout" >&2
  exit 1
fi
