#!/usr/bin/env bash
# usage: check-xp-floor.sh EXE
# Whether Windows XP SP3 can start EXE, read from the file alone: its PE
# header asks for no newer system than XP (5.01 for 32-bit, 5.02 for XP
# x64), and every function it imports is one that XP's DLLs export (the
# lists in exports/). Prints what it checked.
set -euo pipefail
exe=$1
lists=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/exports
# MinGW's 64-bit objdump reads 32-bit PE files too.
objdump=x86_64-w64-mingw32-objdump
headers=$($objdump -p "$exe")
case $($objdump -f "$exe" | sed -n 's/.*file format //p') in
  pei-i386)   arch=i386   xp=5.01 ;;
  pei-x86-64) arch=x86_64 xp=5.02 ;;
  *) echo "FAIL: $exe is not a Windows executable"; exit 1 ;;
esac
fail=0
field() { awk -v k="$1" '$1 == k { print $2 }' <<<"$headers"; }
for v in Subsystem OSystem; do
  got=$(field "Major${v}Version").$(printf '%02d' "$(field "Minor${v}Version")")
  echo "$(basename "$exe") ($arch): ${v/OSystem/OS} version $got"
  [ "$got" = "$xp" ] || { echo "FAIL: ${v/OSystem/OS} version $got, XP needs $xp"; fail=1; }
done

# "dll function" for every import, in the table's order.
imports=$(awk '
  /^The / { dll = "" }
  /^\tDLL Name: / { dll = tolower($3); sub(/\.dll$/, "", dll); next }
  dll != "" && /^\t[0-9a-f]+\t/ { print dll, $NF }' <<<"$headers")
[ -n "$imports" ] || { echo "FAIL: no imports found in $exe"; exit 1; }
for dll in $(cut -d' ' -f1 <<<"$imports" | sort -u); do
  [ -f "$lists/$dll.txt" ] || { echo "FAIL: imports from $dll.dll, which has no XP list here"; fail=1; }
done

# Exported on this architecture, by name, and not among the later additions.
dll_lists=()
for f in "$lists"/*.txt; do [ "${f##*/}" = not-on-xp-sp3.txt ] || dll_lists+=("$f"); done
bad=$(awk -v arch="$arch" '
  FNR == 1 { n++; dll = FILENAME; sub(/.*\//, "", dll); sub(/\.txt$/, "", dll) }
  /^#/ || NF == 0 { next }
  n == 1 { if ($3 == "nt60" || arch == "i386") late[$1 " " $2] = $3; next }
  FILENAME != imports {
    ok = 1
    for (i = 2; i <= NF; i++) if ($i == "ordinal" || ($i ~ /^arch=/ && $i != "arch=" arch)) ok = 0
    if (ok) has[dll " " $1] = 1
    next
  }
  !(($1 " " $2) in has) { print "  " $1 "!" $2 ": not exported by XP" ; next }
  ($1 " " $2) in late { print "  " $1 "!" $2 ": added after XP (" late[$1 " " $2] ")" }
' imports=/dev/stdin "$lists/not-on-xp-sp3.txt" "${dll_lists[@]}" /dev/stdin <<<"$imports")
for dll in $(cut -d' ' -f1 <<<"$imports" | uniq); do
  names=$(awk -v d="$dll" '$1 == d { printf " %s", $2 }' <<<"$imports")
  echo "$dll.dll ($(wc -w <<<"$names")):$names"
done
if [ -n "$bad" ]; then
  echo "FAIL: imports that Windows XP SP3 lacks:"
  echo "$bad"
  fail=1
fi
[ "$fail" = 0 ] && echo "$(basename "$exe") ($arch) starts on Windows XP SP3: $(wc -l <<<"$imports") imports checked"
exit "$fail"
