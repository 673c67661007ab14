#!/usr/bin/env bash
# usage: if-32bit.sh NAME NOTES COMMAND [ARGS...]
# Runs the test NAME's command where this machine runs 32-bit code.
# Elsewhere it reports the test skipped (status 77, its SKIP_RETURN_CODE)
# and adds the reason to NOTES, which ctest prints at the end of its run.
set -euo pipefail
name=$1 notes=$2
shift 2
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if ! "$top/scripts/can-run-32bit.sh"; then
  reason="this machine cannot run 32-bit code"
  [ "${WENDREL_FORCE_NO_32BIT:-}" = 1 ] && reason+=" (WENDREL_FORCE_NO_32BIT=1)"
  echo "skipped: $reason"
  mkdir -p "$(dirname "$notes")"
  echo "$name skipped: $reason" >>"$notes"
  exit 77
fi
source "$top/scripts/wine-env.sh"
if [ ! -x "$WENDREL_WINE32" ]; then
  echo "this machine runs 32-bit code, but the 32-bit Wine is missing: run scripts/install-deps.sh" >&2
  exit 1
fi
exec "$@"
