# Sourced by every script that runs Wine: the project's own prefixes, quiet,
# Windows-1252 as the ANSI code page.
#
#   WENDREL_WINE_LANE    a test lane: a prefix of its own, build/wine/lane-NAME,
#                        so that lanes run side by side and nothing one does
#                        (its server, registry, files) reaches another
#   WENDREL_WINE_DRIVER  null (default: no X server needed) or x11
#   WENDREL_WINEPREFIX   overrides the prefix folder
#
# Every prefix is a copy of one made by wineboot for its driver
# (build/wine/template-DRIVER): making one takes some 15 s, copying it 1 s.

_wendrel_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
: "${WENDREL_WINE_DRIVER:=null}"
_wendrel_wine_dir=$_wendrel_top/build/wine
if [ -n "${WENDREL_WINEPREFIX:-}" ]; then
  export WINEPREFIX=$WENDREL_WINEPREFIX
elif [ -n "${WENDREL_WINE_LANE:-}" ]; then
  export WINEPREFIX=$_wendrel_wine_dir/lane-$WENDREL_WINE_LANE
else
  export WINEPREFIX=$_wendrel_wine_dir/$WENDREL_WINE_DRIVER
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
export WINEARCH=win64

# Wine's loaders, started directly. Not the `wine` launcher: once the 32-bit
# Wine is installed it always starts the 32-bit loader, and on a machine
# that cannot run 32-bit code that fails for 64-bit programs too. The
# 64-bit loader runs 64-bit programs everywhere; the 32-bit one only where
# scripts/can-run-32bit.sh says yes and the 32-bit Wine (wine32) is there.
export WENDREL_WINE64=/usr/lib/wine/wine64
export WENDREL_WINE32=/usr/lib/wine/wine

# What this machine's Wine can make of a prefix: a prefix made before the
# 32-bit Wine was installed cannot run 32-bit programs.
wendrel_wine_kind() {
  if [ -x "$WENDREL_WINE32" ] && WENDREL_FORCE_NO_32BIT= "$_wendrel_top/scripts/can-run-32bit.sh"; then
    echo "64-bit and 32-bit, $WENDREL_WINE_DRIVER"
  else
    echo "64-bit only, $WENDREL_WINE_DRIVER"
  fi
}

# Makes the template of this driver once: wineboot, then the driver set.
_wendrel_wine_make_template() {
  local template=$1 kind=$2
  (
    export WINEPREFIX=$template
    if [ -d "$WINEPREFIX" ]; then
      wineserver -k 2>/dev/null || true
      wineserver -w 2>/dev/null || true
    fi
    rm -rf "$WINEPREFIX"
    "$WENDREL_WINE64" wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    if [ "$WENDREL_WINE_DRIVER" = null ]; then
      "$WENDREL_WINE64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    fi
    # The driver is chosen when the server starts, and the registry is
    # written when it ends: stop it before the template is copied.
    wineserver -k 2>/dev/null || true
    wineserver -w
    echo "$kind" >"$WINEPREFIX/.wendrel-ready"
  )
}

# A prefix copied from the template. The system's files (1.3 GB, written
# only by wineboot) are hard links into the template; everything a program
# writes to (the registry files, the users' folders) is a copy of its own.
_wendrel_wine_copy() {
  local from=$1 to=$2 entry
  mkdir -p "$to/drive_c"
  for entry in "$from"/* "$from"/.[!.]* "$from"/drive_c/*; do
    case $entry in
      "$from/drive_c") ;;
      "$from/drive_c/windows") cp -al "$entry" "$to/drive_c/" ;;
      "$from"/drive_c/*) cp -a "$entry" "$to/drive_c/" ;;
      *) cp -a "$entry" "$to/" ;;
    esac
  done
}

# Makes the prefix once and reuses it afterwards; its ready marker records
# the kind it was made as, and one of another kind (the 32-bit Wine
# installed since) is made afresh. Several processes may ask at once, so
# each prefix is made under a lock of its own.
wendrel_wine_ensure_prefix() {
  local kind template
  kind=$(wendrel_wine_kind)
  [ "$(cat "$WINEPREFIX/.wendrel-ready" 2>/dev/null)" = "$kind" ] && return 0
  template=$_wendrel_wine_dir/template-$WENDREL_WINE_DRIVER
  mkdir -p "$_wendrel_wine_dir" "$(dirname "$WINEPREFIX")"
  (
    flock 8
    [ "$(cat "$template/.wendrel-ready" 2>/dev/null)" = "$kind" ] ||
      _wendrel_wine_make_template "$template" "$kind"
  ) 8>"$template.lock"
  (
    flock 9
    if [ "$(cat "$WINEPREFIX/.wendrel-ready" 2>/dev/null)" != "$kind" ]; then
      if [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
      fi
      rm -rf "$WINEPREFIX" "$WINEPREFIX.new"
      _wendrel_wine_copy "$template" "$WINEPREFIX.new"
      mv "$WINEPREFIX.new" "$WINEPREFIX"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Ends every process of this prefix and lets the server write the registry.
wendrel_wine_stop() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
