# Sourced by every script that runs Wine: the project's own prefix, quiet,
# Windows-1252 as the ANSI code page, and one prefix per graphics driver.
#
#   WENDREL_WINE_DRIVER  null (default: no X server needed) or x11
#   WENDREL_WINEPREFIX   overrides the prefix folder

_wendrel_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
: "${WENDREL_WINE_DRIVER:=null}"
export WINEPREFIX="${WENDREL_WINEPREFIX:-$_wendrel_top/build/wine-$WENDREL_WINE_DRIVER}"
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
    echo "64-bit and 32-bit"
  else
    echo "64-bit only"
  fi
}

# Creates the prefix once (about 15 s) and reuses it afterwards; its ready
# marker records the kind it was made as, and one of another kind (the
# 32-bit Wine installed since) is made afresh. Several processes may ask at
# once, so creation is serialised with a lock.
wendrel_wine_ensure_prefix() {
  local kind
  kind=$(wendrel_wine_kind)
  [ "$(cat "$WINEPREFIX/.wendrel-ready" 2>/dev/null)" = "$kind" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ "$(cat "$WINEPREFIX/.wendrel-ready" 2>/dev/null)" != "$kind" ]; then
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
      # The driver is chosen when the server starts: stop it so the next
      # start picks up the setting.
      wineserver -k 2>/dev/null || true
      wineserver -w
      echo "$kind" >"$WINEPREFIX/.wendrel-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Keeps the prefix's server up between programs (starts drop from ~1 s to
# under 0.1 s); pair with wendrel_wine_stop.
wendrel_wine_keep_up() {
  wendrel_wine_ensure_prefix
  (wineserver -p >/dev/null 2>&1 &)
}

# Ends every process of this prefix and lets the server write the registry.
wendrel_wine_stop() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
