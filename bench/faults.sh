#!/usr/bin/env bash
# `make bench`, second table: the idler beside a client that misbehaves,
# measured by the end-to-end cases that stage each fault (they print
# "[ measured ] WHAT: N ms"). Takes about a minute.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${WENDREL_BUILD:-$top/build/windows}
export WENDREL_WINE_DRIVER=null
export WENDREL_WINEPREFIX=${WENDREL_WINEPREFIX:-$top/build/wine-bench-null}
source "$top/scripts/wine-env.sh"
e2e=$build/tests/e2e/wendrel_e2e.exe
[ -f "$e2e" ] || { echo "missing $e2e: build the windows preset first (make windows)" >&2; exit 1; }

wendrel_wine_ensure_prefix
trap 'wendrel_wine_stop' EXIT
out=$("$WENDREL_WINE64" "$e2e" --gtest_filter='IdlerFaults.*:IdlerExit.CloseAndEndSession*' \
        </dev/null 2>/dev/null | tr -d '\r')
grep -q '^\[  PASSED  \]' <<<"$out" || { echo "$out" >&2; echo "bench failed: a fault case failed" >&2; exit 1; }

echo
echo "| When the client misbehaves | measured |"
echo "|---|---|"
sed -n 's/^\[ measured \] \(.*\): \([0-9]* ms\)$/| \1 | \2 |/p' <<<"$out"
