#!/usr/bin/env bash
# usage: snap-on-two-monitors.sh WENDREL_TESTS_EXE
# The Win32 snap-back test on desktops of two monitors side by side, under
# Wine's X11 driver: a virtual X server (Xvfb) holds a nested one (Xephyr)
# with two screens joined by Xinerama, placed by -origin. With XRandR off,
# Wine reports them as two monitors at those places; plain Xvfb would put
# every screen at 0,0. Each layout must show Windows two monitors, and the
# panel must slide back onto the one it was dropped on.
set -euo pipefail
tests_exe=$1
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WENDREL_WINE_DRIVER=x11
export WENDREL_WINEPREFIX=$top/build/wine-monitors-x11
source "$top/scripts/wine-env.sh"

# Never on the user's own display: the nested servers show as windows.
if [ -z "${WENDREL_IN_XVFB:-}" ]; then
  WENDREL_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 2600x2000x24" "$0" "$@"
fi

wendrel_wine_ensure_prefix
"$WENDREL_WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null 2>&1
wendrel_wine_stop

outer=$DISPLAY
status=0
# The main screen first, then the second, each with its place on the desktop.
layouts=(
  "right|-screen 1024x768 -origin 1024,0 -screen 1280x1024"
  "left|-screen 1024x768 -origin -1280,0 -screen 1280x1024"
  "above|-screen 1024x768 -origin 100,-600 -screen 800x600"
  "below|-screen 1024x768 -origin -200,768 -screen 1280x720"
)
for layout in "${layouts[@]}"; do
  name=${layout%%|*}
  screens=${layout#*|}
  display=:$((60 + RANDOM % 200))
  # shellcheck disable=SC2086  # the screens are words of their own
  DISPLAY=$outer Xephyr "$display" $screens +xinerama -ac -noreset >/dev/null 2>&1 &
  xephyr=$!
  for _ in $(seq 100); do [ -S "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
  if DISPLAY=$display WENDREL_EXPECT_MONITORS=2 timeout 180 "$WENDREL_WINE64" "$tests_exe" \
       --gtest_filter='Win32SnapWindow.*' --gtest_brief=1 </dev/null 2>/dev/null | tr -d '\r' |
       grep -q '^\[  PASSED  \] 1 test'; then
    echo "second monitor $name: the panel slides back onto the monitor it was dropped on"
  else
    echo "FAIL: second monitor $name" >&2
    status=1
  fi
  wendrel_wine_stop
  kill "$xephyr" 2>/dev/null || true
  wait "$xephyr" 2>/dev/null || true
done
exit $status
