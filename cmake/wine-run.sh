#!/usr/bin/env bash
# usage: wine-run.sh --64|--32 PROGRAM [ARGS...]
# Runs a Windows program under Wine, in the project's own prefix (never the
# user's), with the loader of its width: ctest uses it as the
# cross-compiling emulator.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$top/scripts/wine-env.sh"
wendrel_wine_ensure_prefix
case "${1:-}" in
  --64) shift; exec "$WENDREL_WINE64" "$@" ;;
  --32) shift; exec "$WENDREL_WINE32" "$@" ;;
  *) echo "usage: $0 --64|--32 PROGRAM [ARGS...]" >&2; exit 2 ;;
esac
