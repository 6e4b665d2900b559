#!/usr/bin/env bash
# Set-up, the Windows build, then the hall from the assembled program folder
# under Wine: on $DISPLAY, or on a private Xvfb when there is none.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$TAVREL_ROOT"
bash tools/setup.sh
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake >/dev/null
cmake --build build/win64 -j "$TAVREL_JOBS"
prog=build/win64/bin/Tavrel.exe
if [ ! -f "$prog" ]; then
  echo "run: $prog is not built yet" >&2
  exit 1
fi
export LC_ALL=$TAVREL_LOCALE
# The test prefix uses the null graphics driver; a visible run needs the X11 one.
run_prefix=$TAVREL_ROOT/build/wineprefix-run
if [ ! -d "$run_prefix" ]; then
  WINEPREFIX=$run_prefix "$WINE64" wineboot -i >/dev/null 2>&1 || true
fi
export WINEPREFIX=$run_prefix
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a "$WINE64" "$prog" "$@"
fi
exec "$WINE64" "$prog" "$@"
