# Sourced by every script that runs Wine: the project's own prefix, quiet,
# Windows-1252 as the ANSI code page, and one prefix per graphics driver.
#
#   WENDREL_WINE_DRIVER  null (default: no X server needed) or x11
#   WENDREL_WINEPREFIX   overrides the prefix folder

_wendrel_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
: "${WENDREL_WINE_DRIVER:=null}"
export WINEPREFIX="${WENDREL_WINEPREFIX:-$_wendrel_top/build/wine-$WENDREL_WINE_DRIVER}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
export WINEARCH=win64

# Creates the prefix once (about 15 s) and reuses it afterwards. Several
# processes may ask at once, so creation is serialised with a lock.
wendrel_wine_ensure_prefix() {
  [ -f "$WINEPREFIX/.wendrel-ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.wendrel-ready" ]; then
      rm -rf "$WINEPREFIX"
      wineboot --init >/dev/null 2>&1 || true
      wineserver -w
      if [ "$WENDREL_WINE_DRIVER" = null ]; then
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
      fi
      # The driver is chosen when the server starts: stop it so the next
      # start picks up the setting.
      wineserver -k 2>/dev/null || true
      wineserver -w
      touch "$WINEPREFIX/.wendrel-ready"
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
