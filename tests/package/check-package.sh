#!/usr/bin/env bash
# usage: check-package.sh BUILD_DIR BUILT_EXE DEMO_DRIVER_EXE
# Packs the build with CPack into a temporary folder, unpacks the ZIP with
# CMake, checks its files and starts the unpacked program under Wine with a
# stored handle, then closes it. The handle stored before is put back.
set -euo pipefail
build=$1 built_exe=$2 driver=$3
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/wine-env.sh"
wendrel_wine_ensure_prefix

key='HKCU\Software\VB and VBA Program Settings\wendrel idler\settings'
work=$(mktemp -d)
had_key=0
restore() {
  if [ "$had_key" = 1 ]; then
    wine reg import "$work/handle.reg" >/dev/null 2>&1 || true
  else
    wine reg delete "$key" /f >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap restore EXIT
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
die() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null || die "cpack failed"
zips=("$work"/out/*.zip)
[ ${#zips[@]} = 1 ] && [ -f "${zips[0]}" ] || die "expected one ZIP, got: ${zips[*]}"
echo "packed $(basename "${zips[0]}") ($(stat -c %s "${zips[0]}") bytes)"

mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "${zips[0]}") || die "the ZIP does not unpack"
expected=$'wendrel-idler-1.00-win64/README.md\nwendrel-idler-1.00-win64/wendrel-idler.exe\nwendrel-idler-1.00-win64/zq7-sample.ini'
actual=$(cd "$work/unpacked" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || die $'unexpected contents:\n'"$actual"
dir=$work/unpacked/wendrel-idler-1.00-win64
cmp -s "$dir/wendrel-idler.exe" "$built_exe" || die "the packed program is not the one just built"
grep -q '^\[zq7\]' "$dir/zq7-sample.ini" || die "zq7-sample.ini has no [zq7] section"

# A stored handle, so the program starts without asking for one.
wine reg export "$key" "$(winpath "$work/handle.reg")" /y >/dev/null 2>&1 && had_key=1
wine reg add "$key" /v handle /d packagecheck /f >/dev/null 2>&1 || die "cannot store a handle"

wine "$dir/wendrel-idler.exe" </dev/null >/dev/null 2>&1 &
pid=$!
shown=$(wine "$driver" wait-window WendrelIdler B 20000 2>/dev/null | tr -d '\r') || {
  kill "$pid" 2>/dev/null; die "no window of the unpacked program came up"; }
want=$(winpath "$dir/wendrel-idler.exe")
[ "${shown#* }" = "$want" ] || {
  kill "$pid" 2>/dev/null; die "the window shown belongs to ${shown#* }, not $want"; }
echo "window up: $shown"

wine "$driver" close WendrelIdler B 2>/dev/null || die "cannot close the window"
for _ in $(seq 200); do
  state=$(sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null | cut -d' ' -f1 || true)
  [ -z "$state" ] || [ "$state" = Z ] && break
  sleep 0.1
done
[ -z "$state" ] || [ "$state" = Z ] || { kill "$pid"; die "the program did not end on close"; }
wait "$pid" || die "the program ended with status $?"
echo "closed; the package is good"
