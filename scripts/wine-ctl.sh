#!/usr/bin/env bash
# up: make sure the prefix (of the lane in WENDREL_WINE_LANE, if set) exists
# and keep its server running.
# down: end every process of the prefix and write its registry.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
case "${1:-}" in
  up)   wendrel_wine_ensure_prefix
        # An X11 lane's tests bring their own X servers and start Wine
        # inside them: its server cannot start before they do.
        if [ "$WENDREL_WINE_DRIVER" = null ]; then
          # The server forks into the background and stays up until "down".
          # It refuses (status 2) when a server is up already: one kept up
          # by an earlier "up" stays up; one started by a plain wine run
          # ends a few seconds after its last program, and the tests still
          # run.
          wineserver -p </dev/null >/dev/null 2>&1 || true
          # Start Wine's own services now, detached from our output: started
          # by a test instead, they would hold its pipes open and ctest
          # would wait for them until its time-out.
          "$WENDREL_WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
        fi
        echo "wine prefix $WINEPREFIX ready" ;;
  down) wendrel_wine_stop; echo "wine prefix $WINEPREFIX stopped" ;;
  *)    echo "usage: $0 up|down" >&2; exit 2 ;;
esac
