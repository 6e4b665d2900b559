# Shared settings of the tools scripts; sourced, never run.
TAVREL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$TAVREL_ROOT/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
TAVREL_LOCALE=zh_CN.UTF-8
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
TAVREL_JOBS=${TAVREL_JOBS:-$(nproc)}
