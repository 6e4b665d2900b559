#!/usr/bin/env bash
# Runs one Windows program under 64-bit Wine with the project's prefix and locale.
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
export LC_ALL=$TAVREL_LOCALE
# Wine's services and desktop up first, detached from this program's output;
# outside tools/test.sh the holder ends a minute after the last test program.
tavrel_wine_up "$WINEPREFIX" win64 "$WINE64" "$TAVREL_ROOT/build/win64/bin/desktop_holder.exe" 60
exec "$WINE64" "$@"
