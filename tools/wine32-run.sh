#!/usr/bin/env bash
# Runs one 32-bit Windows program under the emulated 32-bit Wine with the
# project's 32-bit prefix and locale.
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
export WINEPREFIX=$WINEPREFIX32 WINEARCH=win32 LC_ALL=$TAVREL_LOCALE
exec "$WINE32" "$@"
