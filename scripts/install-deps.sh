#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
# Safe to run again and again; does nothing when everything is present.
#
# The 32-bit Wine (wine32:i386) is installed only where this machine runs
# 32-bit code (scripts/can-run-32bit.sh): elsewhere it cannot start, and it
# would turn Debian's `wine` launcher into one that fails for every program.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

want=(cmake make g++ clang libclang-rt-14-dev googletest
      g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      g++-mingw-w64-i686-posix binutils-mingw-w64-i686
      wine wine64 xvfb xauth xserver-xephyr xdotool python3)
[ "${1:-}" = "--demo" ] && want+=(imagemagick x11-apps)
add_i386=0
if "$top/scripts/can-run-32bit.sh"; then
  want+=(wine32:i386)
  dpkg --print-foreign-architectures | grep -qx i386 || add_i386=1
fi

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${missing[*]} (run as root, or install them yourself)" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
[ "$add_i386" = 1 ] && dpkg --add-architecture i386
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
