#!/usr/bin/env bash
# `make demo`: the idler beside the simulated chat client, under Wine, in a
# prefix of the demo's own (build/wine-demo-x11; never ~/.wine).
#
# With a display: both windows come up and are yours to click; the room's
# transcript is printed as lines arrive until you close the idler.
# Without one (or SCRIPTED=1): a short scripted run inside a virtual X
# server, printing the transcript and saving a screenshot.
#
# The idler is the 32-bit program where this machine runs 32-bit code (the
# one that runs on every Windows from XP SP3 on), the 64-bit one elsewhere;
# the demo says which.
#
#   VERSION=4     the simulated client's version: 5, 4, 3 or 2.5
#   SCRIPTED=1    the scripted run even when a display is there
#   RAW=1         print the lines with their markup, as the room got them,
#                 and every set and Enter the input box received
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
version=${VERSION:-4}
case "$version" in 5|4|3|2.5) ;; *) echo "VERSION must be 5, 4, 3 or 2.5" >&2; exit 2 ;; esac

build=$top/build/windows
demo=$top/build/demo
export WENDREL_WINE_DRIVER=x11
export WENDREL_WINEPREFIX=$top/build/wine-demo-x11
source "$top/scripts/wine-env.sh"
if "$top/scripts/can-run-32bit.sh" && [ -x "$WENDREL_WINE32" ]; then
  bits=32 idler_build=$top/build/win32 idler_wine=$WENDREL_WINE32
  bits_note="the 32-bit idler (this machine runs 32-bit code)"
else
  bits=64 idler_build=$build idler_wine=$WENDREL_WINE64
  bits_note="the 64-bit idler (this machine cannot run 32-bit code)"
fi

idler_exe=$demo/wendrel-idler.exe
sim_exe=$build/tools/clientsim/clientsim.exe
driver_exe=$build/tools/demo-driver/demo-driver.exe
transcript=$demo/transcript-v$version.txt
shot=$demo/demo-v$version.png
wine_log=$demo/wine.log
handle=nightowl
room="Back Room"
handle_key='HKCU\Software\VB and VBA Program Settings\wendrel idler\settings'

winpath() { local p=${1//\//\\}; echo "Z:$p"; }
if [ -t 1 ]; then
  say() { printf '\n\033[1m%s\033[0m\n' "$*"; }
else
  say() { printf '\n%s\n' "$*"; }
fi
fail() { printf '\ndemo failed: %s\n(Wine output: %s)\n' "$*" "$wine_log" >&2; exit 1; }

driver() { "$WENDREL_WINE64" "$driver_exe" "$@" 2>>"$wine_log"; }

# --- the transcript, printed as it grows ------------------------------------

shown=0
# Prints the records written since the last call, Windows-1252 as UTF-8.
show_new() {
  local total
  total=$(wc -l <"$transcript" 2>/dev/null || echo 0)
  [ "$total" -gt "$shown" ] || return 0
  sed -n "$((shown + 1)),${total}p" "$transcript" | while IFS=$'\t' read -r tag payload; do
    [ "${RAW:-}" = 1 ] || [ "$tag" != chat ] || payload=$(sed 's/<[^>]*>//g' <<<"$payload")
    payload=$(printf '%s' "$payload" | iconv -f CP1252 -t UTF-8)
    case "$tag" in
      # What the input box received, step by step: shown with RAW=1 only.
      set|enter)   if [ "${RAW:-}" = 1 ]; then printf '  %-9s | %s\n' "$tag" "$payload"; fi ;;
      chat)        printf '  room      | %s\n' "$payload" ;;
      ready)       printf '  client    | version %s is up\n' "$payload" ;;
      keyword)     printf '  keyword   | %s\n' "$payload" ;;
      room-opened) printf '  new room  | %s\n' "$payload" ;;
      *)           printf '  %-9s | %s\n' "$tag" "$payload" ;;
    esac
  done
  shown=$total
}

count() { grep -c "^$1	" "$transcript" 2>/dev/null || true; }

# Waits until the transcript holds N records tagged TAG, printing as it goes.
await() {
  local tag=$1 want=$2 seconds=${3:-20} i
  local have
  for ((i = 0; i < seconds * 10; i++)); do
    have=$(count "$tag")
    show_new
    [ "$have" -ge "$want" ] && return 0
    sleep 0.1
  done
  show_new
  fail "waited ${seconds}s for $want '$tag' records in $transcript"
}

# Waits for a process started here to end; its exit status.
wait_exit() {
  local pid=$1 seconds=$2 i state
  for ((i = 0; i < seconds * 10; i++)); do
    state=$(sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null | cut -d' ' -f1 || true)
    if [ -z "$state" ] || [ "$state" = Z ]; then wait "$pid"; return; fi
    sleep 0.1
  done
  return 124
}

cleanup() {
  # Ends every program of the demo's prefix, whatever state the demo is in.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

start_client() {
  : >"$transcript"
  "$WENDREL_WINE64" "$sim_exe" --version "$version" --room Lobby --buddy "$handle's Buddy List" \
    --screen-name "$handle" --transcript "$(winpath "$transcript")" 2>>"$wine_log" &
  sim_pid=$!
  await ready 1 60
}

version_note() {
  case "$version" in
    5|2.5) echo "  Note: under Wine no program can read another's menu bar, which is how"
           echo "  the idler tells 5 from 4 and 2.5 from 3: it takes this client for a" \
                "$([ "$version" = 5 ] && echo 4 || echo 3)." ;;
  esac
}

# --- scripted run (inside the virtual X server) -------------------------

scripted() {
  trap cleanup EXIT
  : >"$wine_log"
  say "Preparing the demo's Wine prefix (the first time takes about 20 s)"
  wendrel_wine_ensure_prefix
  wineserver -p 2>/dev/null || true
  # Every scripted run starts as a first run: no handle stored yet.
  "$WENDREL_WINE64" reg delete "$handle_key" /v handle /f >/dev/null 2>&1 || true

  say "Starting the simulated client, version $version, with the room \"Lobby\""
  start_client
  version_note

  say "Starting $bits_note; on a first run it asks for a handle: answering \"$handle\""
  "$idler_wine" "$idler_exe" 2>>"$wine_log" &
  idler_pid=$!
  driver wait-window "#32770" "wendrel idler" 30000 >/dev/null || fail "no handle prompt"
  driver set-text "#32770" "wendrel idler" 100 "$handle" || fail "cannot type the handle"
  driver click "#32770" "wendrel idler" 1 || fail "cannot press OK"
  await chat 2
  driver wait-window WendrelIdler B >/dev/null || fail "the idler's window did not come up"
  # Over the client's empty document area, as a user would drag it, so that
  # the screenshot shows the room beside it.
  driver move WendrelIdler B 640 170 || true

  say "Idle On"
  driver click WendrelIdler B 101 || fail "no Idle On"
  await chat 3

  say "One tick of the idle timer (posted at once instead of waiting the minute)"
  driver post-timer WendrelIdler B 1 || fail "cannot post the tick"
  await chat 5
  local lines=5

  if [ "$version" = 2.5 ]; then
    say "Enter PR: skipped"
    echo "  (the idler takes this client for a 3, see above, and would click the"
    echo "  3's keyword icon, which a 2.5 does not have)"
  else
    say "Enter PR: the room box set to \"$room\""
    driver set-text WendrelIdler B 120 "$room" || fail "cannot fill the room box"
    driver click WendrelIdler B 105 || fail "no Enter PR"
    await room-opened 1
    await chat $((lines += 1))
  fi
  sleep 0.5  # let both windows finish painting
  import -window root "$shot" || fail "no screenshot"

  say "Idle Off"
  driver click WendrelIdler B 106 || fail "no Idle Off"
  await chat $((lines += 1))

  say "Exit"
  driver click WendrelIdler B 103 || fail "no Exit"
  await chat $((lines += 2))
  wait_exit "$idler_pid" 15 || fail "the idler did not end after Exit"

  say "Done: $(count chat) lines reached the room."
  echo "  transcript (Windows-1252, markup kept): $transcript"
  echo "  screenshot: $shot"
}

# --- interactive run (on the user's display) ----------------------------

interactive() {
  trap cleanup EXIT
  : >"$wine_log"
  say "Preparing the demo's Wine prefix (the first time takes about 20 s)"
  wendrel_wine_ensure_prefix
  wineserver -p 2>/dev/null || true

  say "Starting the simulated client, version $version, with the room \"Lobby\""
  start_client
  version_note
  say "Starting $bits_note on $DISPLAY"
  cat <<EOF
  The first time, it asks for your handle. Then try "Idle On" (the first
  tick comes after a minute), type a room name over "Room?" and press
  "Enter PR", "Idle Off", and "Exit" or "x" to end the demo.
  The handle is kept in the demo's prefix; to be asked again:
    WINEPREFIX=$WINEPREFIX $WENDREL_WINE64 reg delete '$handle_key' /v handle /f
EOF
  "$idler_wine" "$idler_exe" 2>>"$wine_log" &
  idler_pid=$!
  while kill -0 "$idler_pid" 2>/dev/null && [ "$(sed 's/.*) //' "/proc/$idler_pid/stat" 2>/dev/null | cut -d' ' -f1)" != Z ]; do
    show_new
    sleep 0.2
  done
  show_new
  say "The idler has ended; closing the simulated client."
  echo "  transcript (Windows-1252, markup kept): $transcript"
}

# --- the front door ---------------------------------------------------------

case "${1:-}" in
  --scripted-inside) scripted; exit ;;
esac

"$top/scripts/install-deps.sh" --demo
(cd "$top" && cmake --preset windows >/dev/null)
cmake --build "$build" -j "$(nproc)" --target wendrel-idler clientsim demo-driver
if [ "$bits" = 32 ]; then
  (cd "$top" && cmake --preset win32 >/dev/null)
  cmake --build "$idler_build" -j "$(nproc)" --target wendrel-idler
fi
mkdir -p "$demo"
cp "$idler_build/wendrel-idler.exe" "$idler_exe"
# The sample style settings, so that the lines show a decoration and colours.
cp "$top/resources/zq7-sample.ini" "$demo/zq7.ini"

if [ -n "${DISPLAY:-}" ] && [ "${SCRIPTED:-}" != 1 ] && xwd -root -silent >/dev/null 2>&1; then
  interactive
else
  [ -n "${DISPLAY:-}" ] && [ "${SCRIPTED:-}" != 1 ] && echo "display $DISPLAY does not answer: running the scripted run"
  trap cleanup EXIT
  xvfb-run -a -s "-screen 0 1024x768x24" "$0" --scripted-inside
fi
