#!/usr/bin/env bash
# usage: check-package.sh BUILD_DIR BUILT_EXE DEMO_DRIVER_EXE [--contents-only]
# Packs the build with CPack into a temporary folder, unpacks the ZIP with
# CMake and checks its files and the program in it: its machine type, size,
# icon, version block, manifest and the XP check. Then, unless
# --contents-only, starts the unpacked program under Wine, with the loader of
# its width and a stored handle, and closes it. The handle stored before is
# put back.
set -euo pipefail
build=$1 built_exe=$2 driver=$3 contents_only=${4:-}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../scripts/wine-env.sh"
die() { echo "FAIL: $*" >&2; exit 1; }

objdump=x86_64-w64-mingw32-objdump
case $($objdump -f "$built_exe" | sed -n 's/.*file format //p') in
  pei-i386)   bits=32 format=pei-i386   wine=$WENDREL_WINE32 ;;
  pei-x86-64) bits=64 format=pei-x86-64 wine=$WENDREL_WINE64 ;;
  *) die "$built_exe is not a Windows program" ;;
esac
name=wendrel-idler-1.00-win$bits

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null || die "cpack failed"
zips=("$work"/out/*.zip)
[ "${zips[*]}" = "$work/out/$name.zip" ] || die "expected $name.zip, got: ${zips[*]}"
echo "packed $name.zip ($(stat -c %s "${zips[0]}") bytes)"

mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "${zips[0]}") || die "the ZIP does not unpack"
expected="$name/README.md"$'\n'"$name/wendrel-idler.exe"$'\n'"$name/zq7-sample.ini"
actual=$(cd "$work/unpacked" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || die $'unexpected contents:\n'"$actual"
dir=$work/unpacked/$name
exe=$dir/wendrel-idler.exe
cmp -s "$exe" "$built_exe" || die "the packed program is not the one just built"
grep -q '^\[zq7\]' "$dir/zq7-sample.ini" || die "zq7-sample.ini has no [zq7] section"

# The program: its width, size, the icon, the version block, the manifest, XP.
[ "$($objdump -f "$exe" | sed -n 's/.*file format //p')" = "$format" ] || die "not a $bits-bit program"
size=$(stat -c %s "$exe")
[ "$size" -le 204800 ] || die "the program is $size bytes, over the 204,800 (200 KB) it may take"
headers=$($objdump -p "$exe")
# The resource types at the top of the tree: 3 icon, 14 icon group,
# 16 version, 24 manifest.
types=$(awk '/^The .rsrc Resource Directory/ { on = 1 } on && /^0[0-9a-f]+   Entry: ID:/ { sub(/,$/, "", $4); print $4 }' <<<"$headers" | tr '\n' ' ')
[ "$types" = "0x000003 0x00000e 0x000010 0x000018 " ] ||
  die "resource types $types, not icon, icon group, version and manifest"
# VS_FIXEDFILEINFO: its signature, structure version 1.0, then file and
# product version 1.0.0.0, little-endian.
od -An -v -tx1 "$exe" | tr -d ' \n' | grep -q 'bd04effe00000100000001000000000000000100' ||
  die "no version block with file and product version 1.0.0.0"
for key in FileVersion ProductVersion; do
  strings -el "$exe" | grep -A1 -x "$key" | tail -1 | grep -qx '1\.00' || die "$key is not 1.00"
done
echo "$bits-bit program of $size bytes, with the icon, file and product version 1.00"
python3 "$here/check-manifest.py" "$exe" || die "the program's manifest is missing or wrong"
"$here/../xp/check-xp-floor.sh" "$exe" | tail -1 || die "the packed program fails the XP check"
[ "$contents_only" = --contents-only ] && exit 0

wendrel_wine_ensure_prefix
key='HKCU\Software\VB and VBA Program Settings\wendrel idler\settings'
had_key=0
restore() {
  if [ "$had_key" = 1 ]; then
    "$WENDREL_WINE64" reg import "$work/handle.reg" >/dev/null 2>&1 || true
  else
    "$WENDREL_WINE64" reg delete "$key" /f >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap restore EXIT
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

# A stored handle, so the program starts without asking for one.
"$WENDREL_WINE64" reg export "$key" "$(winpath "$work/handle.reg")" /y >/dev/null 2>&1 && had_key=1
"$WENDREL_WINE64" reg add "$key" /v handle /d packagecheck /f >/dev/null 2>&1 || die "cannot store a handle"

"$wine" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
shown=$("$wine" "$driver" wait-window WendrelIdler B 20000 2>/dev/null | tr -d '\r') || {
  kill "$pid" 2>/dev/null; die "no window of the unpacked program came up"; }
want=$(winpath "$exe")
[ "${shown#* }" = "$want" ] || {
  kill "$pid" 2>/dev/null; die "the window shown belongs to ${shown#* }, not $want"; }
echo "window up: $shown"

"$wine" "$driver" close WendrelIdler B 2>/dev/null || die "cannot close the window"
for _ in $(seq 200); do
  state=$(sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null | cut -d' ' -f1 || true)
  [ -z "$state" ] || [ "$state" = Z ] && break
  sleep 0.1
done
[ -z "$state" ] || [ "$state" = Z ] || { kill "$pid"; die "the program did not end on close"; }
wait "$pid" || die "the program ended with status $?"
echo "closed; the package is good"
