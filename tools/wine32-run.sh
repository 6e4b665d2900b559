#!/usr/bin/env bash
# Runs one 32-bit Windows program under the emulated 32-bit Wine with the
# project's 32-bit prefix and locale.
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
export WINEPREFIX=$WINEPREFIX32 WINEARCH=win32 LC_ALL=$TAVREL_LOCALE
# Wine's services and desktop up first, detached from this program's output;
# outside tools/test.sh the holder ends a minute after the last test program.
tavrel_wine_up "$WINEPREFIX" win32 "$WINE32" "$TAVREL_ROOT/build/win32/bin/desktop_holder.exe" 60
exec "$WINE32" "$@"
