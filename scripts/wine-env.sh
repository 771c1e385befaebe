# Sourced: the environment for running the x86_64 Windows build under wine64, headless.
export WINEPREFIX="${WINEPREFIX:-$(pwd)/build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
WINE64=/usr/lib/wine/wine64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$WINE64" wineboot -i >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w || true
fi
