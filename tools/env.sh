# Shared settings of the tools scripts; sourced, never run.
TAVREL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The project's prefixes live in its build folder, whatever the caller's
# WINEPREFIX says: setup.sh may remake them and test.sh stops their wineserver.
export WINEPREFIX=$TAVREL_ROOT/build/wineprefix
WINEPREFIX32=$TAVREL_ROOT/build/wineprefix32
export WINEARCH=win64
export WINEDEBUG=-all
# Wine's crash debugger stays off: a crash ends its test at once (under the
# emulator the debugger would never end).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,winedbg.exe=d"
TAVREL_LOCALE=zh_CN.UTF-8
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
# The 32-bit loader under the i386 emulator, unpacked by setup.sh.
WINE32=$TAVREL_ROOT/build/wine32/lib/wine/wine
TAVREL_JOBS=${TAVREL_JOBS:-$(nproc)}
