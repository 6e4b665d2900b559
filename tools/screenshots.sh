#!/usr/bin/env bash
# Pictures of the roads' windows for a person to look at: builds the
# end-to-end tests, runs them under Xvfb with Wine's X11 driver against the
# demo world, and keeps a PNG of each window they stop at (the logon dialog,
# its boxes, the hall with its tree, the room) in build/screenshots/. The
# pictures are never checked in. Arguments go to the test program (for
# example --gtest_filter=RoomRoad.*).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$TAVREL_ROOT"
bash tools/setup.sh
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake >/dev/null
cmake --build build/win64 -j "$TAVREL_JOBS" --target e2e_tests
bin=$TAVREL_ROOT/build/win64/bin
if [ ! -f "$bin/e2e_tests.exe" ]; then
  echo "screenshots: $bin/e2e_tests.exe is not built" >&2
  exit 1
fi

# Wine draws the hall's Chinese texts with a CJK font of the system.
if ! fc-list :lang=zh 2>/dev/null | grep -q .; then
  apt-get install -y --no-install-recommends fonts-wqy-microhei >/dev/null 2>&1 ||
    echo "screenshots: no CJK font could be installed; Chinese texts may show as boxes" >&2
fi

export LC_ALL=$TAVREL_LOCALE
# The prefix of tools/run.sh: the X11 driver, not the tests' null one.
run_prefix=$TAVREL_ROOT/build/wineprefix-run
if [ ! -d "$run_prefix" ]; then
  WINEPREFIX=$run_prefix "$WINE64" wineboot -i >/dev/null 2>&1 || true
fi
export WINEPREFIX=$run_prefix

shots=$TAVREL_ROOT/build/screenshots
rm -rf "$shots"
mkdir -p "$shots"
TAVREL_E2E_SHOTS=$("$WINE64" winepath -w "$shots" 2>/dev/null | tr -d '\r')
export TAVREL_E2E_SHOTS

status=0
(cd "$bin" && xvfb-run -a -s "-screen 0 1280x1024x24" "$WINE64" "$bin/e2e_tests.exe" "$@") || status=$?
count=$(find "$shots" -name '*.png' | wc -l)
echo "screenshots: $count pictures in $shots"
if [ "$status" -ne 0 ]; then
  echo "screenshots: the roads did not all pass (status $status); the pictures show how far they got" >&2
fi
exit $status
