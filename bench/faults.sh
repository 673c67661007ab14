#!/usr/bin/env bash
# `make bench`, second table: the idler beside a client that misbehaves,
# measured by the end-to-end cases that stage each fault (they print
# "[ measured ] WHAT: N ms"). Then Windows ending the session with a stuck
# box and with a silent client, two such runs at once in two prefixes of
# their own, so that both cores are busy. Takes about two minutes.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${WENDREL_BUILD:-$top/build/windows}
export WENDREL_WINE_DRIVER=null
e2e=$build/tests/e2e/wendrel_e2e.exe
[ -f "$e2e" ] || { echo "missing $e2e: build the windows preset first (make windows)" >&2; exit 1; }

# Runs the e2e cases named by $2 in the prefix $1 and prints what they measured.
run_in_prefix() (
  export WENDREL_WINEPREFIX=$1
  source "$top/scripts/wine-env.sh"
  wendrel_wine_ensure_prefix
  trap 'wendrel_wine_stop' EXIT
  out=$("$WENDREL_WINE64" "$e2e" --gtest_filter="$2" </dev/null 2>/dev/null | tr -d '\r')
  grep -q '^\[  PASSED  \]' <<<"$out" || { echo "$out" >&2; echo "bench failed: a fault case failed" >&2; exit 1; }
  sed -n 's/^\[ measured \] \(.*\): \([0-9]* ms\)$/\1|\2/p' <<<"$out"
)

one=$(run_in_prefix "$top/build/wine-bench-null" 'IdlerFaults.*:*IdlerExit.*')
echo
echo "| When the client misbehaves | measured |"
echo "|---|---|"
sed 's/^\(.*\)|\(.*\)$/| \1 | \2 |/' <<<"$one"

end_session='*IdlerExit.*EndSession*'
run_in_prefix "$top/build/wine-bench-null" "$end_session" >"$top/build/bench-end-session-1.txt" &
first=$!
run_in_prefix "$top/build/wine-bench-null-2" "$end_session" >"$top/build/bench-end-session-2.txt" &
second=$!
wait "$first" && wait "$second"
echo
echo "| WM_ENDSESSION, two runs at once on $(nproc) cores | first run | second run |"
echo "|---|---|---|"
paste -d'|' "$top/build/bench-end-session-1.txt" "$top/build/bench-end-session-2.txt" |
  awk -F'|' '$1 ~ /^EndSession/ { print "| " $1 " | " $2 " | " $4 " |" }'
