#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
# Safe to run again and again; does nothing when everything is present.
set -euo pipefail

want=(cmake make g++ clang libclang-rt-14-dev googletest
      g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
      wine wine64 xvfb xauth)
[ "${1:-}" = "--demo" ] && want+=(imagemagick x11-apps)

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
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
