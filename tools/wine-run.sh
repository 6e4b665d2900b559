#!/usr/bin/env bash
# Runs one Windows program under 64-bit Wine with the project's prefix and locale.
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
export LC_ALL=$TAVREL_LOCALE
exec "$WINE64" "$@"
