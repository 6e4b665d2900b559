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

# Brings a prefix's Wine up for test programs, once per wineserver: Wine's
# services, then the desktop holder (tests/support/desktop), both detached
# from the caller's output. Started by a test program instead, they would
# inherit its output pipe, and ctest would count that test running until
# they end. Does nothing while the holder is not built.
# Arguments: prefix, arch, loader, the holder's program, its idle seconds
# (0: it runs until the wineserver is stopped).
tavrel_wine_up() {
  local prefix=$1 arch=$2 loader=$3 holder=$4 idle=$5
  [ -f "$holder" ] && [ -d "$prefix" ] || return 0
  (
    flock 9
    pid=$(cat "$prefix/.tavrel-holder" 2>/dev/null || true)
    if [ -n "$pid" ] && tr "\\0" " " 2>/dev/null <"/proc/$pid/cmdline" | grep -q desktop_holder; then
      exit 0
    fi
    export WINEPREFIX=$prefix WINEARCH=$arch
    "$loader" wineboot </dev/null >/dev/null 2>&1 9>&-
    out=$prefix/.tavrel-holder.out
    rm -f "$out"
    "$loader" "$holder" "$idle" </dev/null >"$out" 2>&1 9>&- &
    echo $! >"$prefix/.tavrel-holder"
    # Up to two minutes: the emulated loader starts slowly on a busy machine.
    for _ in $(seq 600); do
      grep -q ready "$out" 2>/dev/null && exit 0
      kill -0 "$!" 2>/dev/null || break
      sleep 0.2
    done
    echo "tavrel_wine_up: the desktop holder of $prefix did not report ready" >&2
  ) 9>"$prefix/.tavrel-up.lock"
}
