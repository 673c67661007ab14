#!/usr/bin/env bash
# SendChat against a client that keeps only the first 92 characters of a
# set (and one that keeps all), lines longer than that, over a draft of
# 100,000 letters: sets per line, time and processor time per line, and the
# draft's length once back. Processor time of the client and the wineserver
# from /proc/PID/stat (1/100 s). Takes under a minute.
#
#   LINES   lines posted (default 100)    LENGTH  their length (default 200)
#   DRAFT   the draft's length (default 100000)
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${WENDREL_BUILD:-$top/build/windows}
lines=${LINES:-100} length=${LENGTH:-200} draft=${DRAFT:-100000}
export WENDREL_WINE_DRIVER=null
export WENDREL_WINEPREFIX=${WENDREL_WINEPREFIX:-$top/build/wine-bench-null}
source "$top/scripts/wine-env.sh"
sim_exe=$build/tools/clientsim/clientsim.exe
bench_exe=${CUT_BENCH:-$build/bench/cut_bench.exe}
for f in "$sim_exe" "$bench_exe"; do
  [ -f "$f" ] || { echo "missing $f: build the windows preset first (make windows)" >&2; exit 1; }
done
work=$build/bench-run
mkdir -p "$work"

winpath() { local p=${1//\//\\}; echo "Z:$p"; }
ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }

wendrel_wine_ensure_prefix
wendrel_wine_stop
wineserver -f -p >/dev/null 2>&1 &
server_pid=$!
trap 'wendrel_wine_stop' EXIT
"$WENDREL_WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true

echo "| Client | Lines taken | Sets per line | Time per line | Processor time: poster, client, wineserver | Draft back (what the box held of it) |"
echo "|---|---|---|---|---|---|"
for client in "--keep-first 92" ""; do
  transcript=$work/cut-transcript.txt
  : >"$transcript"
  # shellcheck disable=SC2086
  "$WENDREL_WINE64" "$sim_exe" --version 4 --real-controls $client --transcript "$(winpath "$transcript")" \
    </dev/null >/dev/null 2>&1 &
  sim_pid=$!
  for ((i = 0; i < 600; i++)); do grep -q '^ready' "$transcript" 2>/dev/null && break; sleep 0.05; done
  sim_before=$(ticks "$sim_pid") server_before=$(ticks "$server_pid")
  out=$("$WENDREL_WINE64" "$bench_exe" "$(winpath "$transcript")" "$lines" "$length" "$draft" 2>&1 | tr -d '\r')
  sim_cpu=$(($(ticks "$sim_pid") - sim_before)) server_cpu=$(($(ticks "$server_pid") - server_before))
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  read -r _ n _ taken _ _ _ _ _ per_line _ ms _ cpu _ d _ back _ whole <<<"$out"
  echo "| rich edit ${client:-keeping all} | $taken of $n | $per_line | $ms ms | $cpu ms, $((sim_cpu * 10)) ms, $((server_cpu * 10)) ms | $back of $d characters, whole: $whole |"
done
