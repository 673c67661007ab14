#!/usr/bin/env bash
# `make bench`: the idler's costs under Wine, measured in one run and printed
# as a table. Takes about four minutes (three of them are one-minute waits).
#
#   WENDREL_BUILD     the windows build folder (default build/windows)
#   WENDREL_BUILD32   the 32-bit windows build folder (default build/win32)
#   PAUSE_SECONDS     the length of the Pause measured (default 60)
#   SIZES_ONLY=1      only the sizes of both programs and packages (no Wine)
#
# Processor time is read from /proc/PID/stat (user + system, in 1/100 s) of
# the Wine process itself and of the prefix's wineserver, which does the
# kernel side of every window message and wait.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${WENDREL_BUILD:-$top/build/windows}
pause_seconds=${PAUSE_SECONDS:-60}
build32=${WENDREL_BUILD32:-$top/build/win32}
work=$build/bench-run

size_row() {  # BITS BUILD
  local exe=$2/wendrel-idler.exe zip=$2/wendrel-idler-1.00-win$1.zip zip_text="(not built: make package)"
  [ -f "$exe" ] || { echo "| Size of the $1-bit wendrel-idler.exe | (not built) | |"; return; }
  [ -f "$zip" ] && zip_text="$(($(stat -c %s "$zip") / 1024)) KB ZIP"
  echo "| Size of the $1-bit wendrel-idler.exe | $(($(stat -c %s "$exe") / 1024)) KB ($(stat -c %s "$exe") bytes) | $zip_text |"
}
sizes=$(size_row 64 "$build"; size_row 32 "$build32")
if [ "${SIZES_ONLY:-}" = 1 ]; then
  printf '| Measure | Figure | For comparison |\n|---|---|---|\n%s\n' "$sizes"
  exit 0
fi
export WENDREL_WINE_DRIVER=null
export WENDREL_WINEPREFIX=${WENDREL_WINEPREFIX:-$top/build/wine-bench-null}
source "$top/scripts/wine-env.sh"

sim_exe=$build/tools/clientsim/clientsim.exe
driver_exe=$build/tools/demo-driver/demo-driver.exe
handle_key='HKCU\Software\VB and VBA Program Settings\wendrel idler\settings'
for f in "$build/wendrel-idler.exe" "$sim_exe" "$driver_exe" \
         "$build/bench/pause_bench.exe" "$build/bench/post_bench.exe"; do
  [ -f "$f" ] || { echo "missing $f: build the windows preset first (make windows)" >&2; exit 1; }
done

winpath() { local p=${1//\//\\}; echo "Z:$p"; }
note() { echo "  $*" >&2; }
die() { echo "bench failed: $*" >&2; exit 1; }
driver() { "$WENDREL_WINE64" "$driver_exe" "$@" 2>/dev/null | tr -d '\r'; }
ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
seconds() { awk -v t="$1" 'BEGIN { printf "%.2f s", t / 100 }'; }
alive() {
  local state
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1 || true)
  [ -n "$state" ] && [ "$state" != Z ]
}
wait_records() {  # FILE TAG COUNT SECONDS
  local i
  for ((i = 0; i < $4 * 20; i++)); do
    [ "$(grep -c "^$2	" "$1" 2>/dev/null || true)" -ge "$3" ] && return 0
    sleep 0.05
  done
  die "waited $4 s for $3 '$2' records in $1"
}

server_pid=
cleanup() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
trap cleanup EXIT

mkdir -p "$work"
# The idler runs from a folder without zq7.ini: the default markup, as a
# fresh install has it.
cp "$build/wendrel-idler.exe" "$work/wendrel-idler.exe"
idler_exe=$work/wendrel-idler.exe

note "preparing the bench's Wine prefix ($WINEPREFIX)"
wendrel_wine_ensure_prefix
cleanup
# In the foreground (-f) so that its process id is known; -p keeps it up.
wineserver -f -p >/dev/null 2>&1 &
server_pid=$!
"$WENDREL_WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
"$WENDREL_WINE64" reg add "$handle_key" /v handle /d bench /f >/dev/null 2>&1

start_client() {  # VERSION TRANSCRIPT -> sim_pid
  : >"$2"
  "$WENDREL_WINE64" "$sim_exe" --version "$1" --room Lobby --transcript "$(winpath "$2")" </dev/null >/dev/null 2>&1 &
  sim_pid=$!
  wait_records "$2" ready 1 30
}
stop_client() {
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
}

# --- start-up: from the process start to the window shown ------------------
note "start-up, 1 + 5 starts beside client 4"
start_client 4 "$work/startup.txt"
startups=()
for i in 0 1 2 3 4 5; do
  # To a file, not a pipe: the idler inherits the driver's output, and a
  # pipe would stay open as long as the idler runs.
  "$WENDREL_WINE64" "$driver_exe" start-timed WendrelIdler B "$(winpath "$idler_exe")" \
    >"$work/start.txt" 2>/dev/null || die "the idler did not come up"
  out=$(tr -d '\r' <"$work/start.txt")
  # The first start fills Wine's caches; it is not counted.
  [ "$i" = 0 ] || startups+=("${out%% *}")
  driver close WendrelIdler B >/dev/null || true
  driver wait-gone WendrelIdler B 15000 >/dev/null || die "the idler did not close"
done
startup_median=$(printf '%s\n' "${startups[@]}" | sort -n | sed -n 3p)
startup_all=$(printf '%s ' "${startups[@]}")
stop_client

# --- one idle minute with a real tick ---------------------------------------
note "one idle minute with idle mode on and the real timer (about 65 s)"
transcript=$work/idle-minute.txt
start_client 4 "$transcript"
"$WENDREL_WINE64" "$idler_exe" </dev/null >/dev/null 2>&1 &
idler_pid=$!
driver wait-window WendrelIdler B 15000 >/dev/null || die "the idler did not come up"
wait_records "$transcript" chat 2 15
driver click WendrelIdler B 101 >/dev/null || die "no Idle On"
wait_records "$transcript" chat 3 15
idler0=$(ticks "$idler_pid") server0=$(ticks "$server_pid") sim0=$(ticks "$sim_pid")
start_ms=$(date +%s%3N)
# The tick falls due 60 s after Idle On and posts two lines.
wait_records "$transcript" chat 5 75
tick_s=$(awk -v ms=$(( $(date +%s%3N) - start_ms )) 'BEGIN { printf "%.1f", ms / 1000 }')
# Measure the whole minute even when the tick came early.
sleep "$(awk -v s="$tick_s" 'BEGIN { r = 60.5 - s; print (r > 0 ? r : 0) }')"
idle_ms=$(( $(date +%s%3N) - start_ms ))
idler_cpu=$(( $(ticks "$idler_pid") - idler0 ))
server_cpu=$(( $(ticks "$server_pid") - server0 ))
sim_cpu=$(( $(ticks "$sim_pid") - sim0 ))
hwm_kb=$(awk '/^VmHWM/ { print $2 }' "/proc/$idler_pid/status")
peak_ws=$(driver memory WendrelIdler B | cut -d' ' -f1)
driver click WendrelIdler B 103 >/dev/null || true
for _ in $(seq 100); do alive "$idler_pid" || break; sleep 0.1; done
wait "$idler_pid" 2>/dev/null || true
stop_client

# --- Pause: the real wait against a spinning one -----------------------------
pause_run() {  # real|spin -> "process-ticks server-ticks wall-seconds"
  local pid p0 s0 wall
  "$WENDREL_WINE64" "$build/bench/pause_bench.exe" "$1" "$pause_seconds" </dev/null >"$work/pause-$1.txt" 2>/dev/null &
  pid=$!
  sleep 0.5  # past Wine's process start-up, which is not the wait's cost
  p0=$(ticks "$pid") s0=$(ticks "$server_pid")
  local p1=$p0 s1=$s0
  while alive "$pid"; do
    p1=$(ticks "$pid" 2>/dev/null || echo "$p1") s1=$(ticks "$server_pid")
    sleep 0.2
  done
  wait "$pid" || die "pause_bench $1 failed"
  wall=$(tr -d '\r' <"$work/pause-$1.txt")
  echo "$((p1 - p0)) $((s1 - s0)) $wall"
}
note "Pause($pause_seconds) with the real wait"
out=$(pause_run real)
read -r real_cpu real_server real_wall <<<"$out"
note "Pause($pause_seconds) with a spinning wait"
out=$(pause_run spin)
read -r spin_cpu spin_server spin_wall <<<"$out"

# --- posting one line ---------------------------------------------------------
post_run() {  # VERSION -> "median p90 max lost"
  local transcript=$work/post-v$1.txt out
  start_client "$1" "$transcript"
  out=$("$WENDREL_WINE64" "$build/bench/post_bench.exe" "$(winpath "$transcript")" 100 2>/dev/null | tr -d '\r') ||
    die "post_bench against client $1 failed: $out"
  [ "$(grep -c '^chat	' "$transcript")" = 100 ] || die "client $1 did not get 100 lines"
  stop_client
  echo "$out"
}
note "posting 100 lines to client 4, then to client 3"
out=$(post_run 4)
read -r post4_median post4_p90 post4_max _ <<<"$out"
out=$(post_run 3)
read -r post3_median post3_p90 post3_max _ <<<"$out"

cat <<EOF

Wine $("$WENDREL_WINE64" --version 2>/dev/null), $(nproc) cores, null graphics driver, $(date -u +%Y-%m-%d)

| Measure | Figure | For comparison |
|---|---|---|
| CPU of the idler over one idle minute ($(awk -v ms="$idle_ms" 'BEGIN { printf "%.1f", ms / 1000 }') s, idle on, the real tick at ${tick_s} s posting 2 lines) | $(seconds "$idler_cpu") | goal under 0.10 s |
| CPU of the wineserver over that minute (serves the idler and the client) | $(seconds "$server_cpu") | the client itself: $(seconds "$sim_cpu") |
| CPU during Pause($pause_seconds), the program's wait (waited ${real_wall} s) | $(seconds "$real_cpu") + wineserver $(seconds "$real_server") | spinning wait: $(seconds "$spin_cpu") + wineserver $(seconds "$spin_server") (waited ${spin_wall} s) |
| Post one line, client 4 (SendChat to its record in the transcript), 100 lines | median ${post4_median} ms | 90th percentile ${post4_p90} ms, longest ${post4_max} ms |
| Post one line, client 3, 100 lines | median ${post3_median} ms | 90th percentile ${post3_p90} ms, longest ${post3_max} ms |
$sizes
| Peak working set of the idler (its Wine process, VmHWM) | $((hwm_kb / 1024)) MB | as the program sees it (PeakWorkingSetSize): $(( ${peak_ws:-0} / 1048576 )) MB |
| Start to window shown, median of 5 (Wine server up, client 4 open) | ${startup_median} ms | each: ${startup_all% } ms |
EOF
