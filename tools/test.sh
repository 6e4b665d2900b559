#!/usr/bin/env bash
# Set-up, the three builds, then every test: the Windows tests under Wine, the
# portable-core tests natively under the sanitizers.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$TAVREL_ROOT"

bash tools/setup.sh

# One style for every source of ours (.clang-format).
echo "== format"
git ls-files '*.cpp' '*.h' | xargs clang-format-14 --dry-run --Werror

configure() { # dir toolchain
  cmake -S . -B "build/$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$2.cmake" >/dev/null
}
configure win32 i686
configure win64 x86_64
configure native native
for b in win32 win64 native; do
  echo "== build $b"
  # Every error of the build shows (-k 0 goes on past the first); the progress lines do not.
  rc=0
  cmake --build "build/$b" -j "$TAVREL_JOBS" -- -k 0 2>&1 | { grep -v '^\[' || true; } || rc=$?
  if [ $rc -ne 0 ]; then
    echo "build $b failed" >&2
    exit 1
  fi
done

# One wineserver per prefix for the whole run, stopped however the run ends.
export LC_ALL=$TAVREL_LOCALE
stop_wine() {
  for prefix in "$WINEPREFIX" "$WINEPREFIX32"; do
    WINEPREFIX=$prefix "$WINESERVER" -k >/dev/null 2>&1 || true
  done
}
start_wine() { # prefix arch loader build
  WINEPREFIX=$1 "$WINESERVER" -k >/dev/null 2>&1 || true
  WINEPREFIX=$1 "$WINESERVER" -w >/dev/null 2>&1 || true
  WINEPREFIX=$1 "$WINESERVER" -p
  # Wine's services and desktop come up now, detached from ctest's pipes,
  # and stay up for the whole run (tools/env.sh).
  tavrel_wine_up "$1" "$2" "$3" "$TAVREL_ROOT/build/$4/bin/desktop_holder.exe" 0
}
trap stop_wine EXIT
start_wine "$WINEPREFIX" win64 "$WINE64" win64

status=0
run_ctest() { # dir label
  echo "== tests $2"
  local log="build/$1/ctest.log" rc=0
  ctest --test-dir "build/$1" -j "$TAVREL_JOBS" -V --no-tests=error --timeout 600 >"$log" 2>&1 || rc=1
  # Each program's own summary, then what failed, then ctest's summary.
  grep -E '^[0-9]+: \[  (PASSED|FAILED)  \] [0-9]+ test' "$log" || true
  if [ $rc -ne 0 ]; then
    status=1
    grep -E -A6 '^[0-9]+: .*(: Failure|\[  FAILED  \] [A-Za-z])' "$log" | head -n 200 || true
  fi
  sed -n '/tests passed/,$p' "$log"
}
export GTEST_COLOR=no
run_ctest win64 "Windows (x86_64 under Wine)"

# The 32-bit product under 32-bit Wine in the i386 emulator (tools/wine32-run.sh).
# Everything runs several times slower there: the tests' waits stretch
# (tests/support/TestWait.h); they still end when what they wait for happens.
start_wine "$WINEPREFIX32" win32 "$WINE32" win32
TAVREL_WAIT_SCALE=${TAVREL_WAIT_SCALE:-4} run_ctest win32 "Windows (i686 under emulation)"
run_ctest native "native (address and undefined-behaviour sanitizers)"
exit $status
