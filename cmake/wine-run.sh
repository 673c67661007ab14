#!/usr/bin/env bash
# Runs a Windows program under Wine, in the project's own prefix (never the
# user's): ctest uses it as the cross-compiling emulator.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$top/tests/e2e/wine-env.sh"
wendrel_wine_ensure_prefix
exec wine "$@"
