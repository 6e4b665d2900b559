# Shared settings of the tools scripts; sourced, never run.
TAVREL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The project's prefixes live in its build folder, whatever the caller's
# WINEPREFIX says: setup.sh may remake them and test.sh stops their wineserver.
export WINEPREFIX=$TAVREL_ROOT/build/wineprefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
TAVREL_LOCALE=zh_CN.UTF-8
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
TAVREL_JOBS=${TAVREL_JOBS:-$(nproc)}
