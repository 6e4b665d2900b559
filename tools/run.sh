#!/usr/bin/env bash
# Set-up, the Windows build, a run folder whose configuration names only the
# demo world's hall server on 127.0.0.1, the demo world (hall and room
# servers on free ports, the demo games installed in the run folder), then
# the hall under Wine: on $DISPLAY, or on a private Xvfb when there is none.
# The demo world is stopped when the hall ends.
# Demo accounts: demo / demo123 and lucky / lucky123; the password room's
# password is 1234.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$TAVREL_ROOT"
bash tools/setup.sh
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake >/dev/null
cmake --build build/win64 -j "$TAVREL_JOBS" --target Tavrel Quillon Corvath gameclient demo_world
bin=$TAVREL_ROOT/build/win64/bin
for prog in Tavrel.exe demo_world.exe gameclient.exe; do
  if [ ! -f "$bin/$prog" ]; then
    echo "run: $bin/$prog is not built" >&2
    exit 1
  fi
done

# The program folder: the hall, its modules and helper programs, and a
# configuration of our own (the saved accounts of earlier runs stay).
run=$TAVREL_ROOT/build/run
mkdir -p "$run/config"
cp "$bin"/*.dll "$run/"
for prog in Tavrel.exe Quillon.exe MiniTavrel.exe Murlow.exe Kestrum.exe; do
  if [ -f "$bin/$prog" ]; then cp "$bin/$prog" "$run/"; fi
done

# Wine draws the hall's Chinese texts with a CJK font of the system.
if ! fc-list :lang=zh 2>/dev/null | grep -q .; then
  apt-get install -y --no-install-recommends fonts-wqy-microhei >/dev/null 2>&1 ||
    echo "run: no CJK font could be installed; Chinese texts may show as boxes" >&2
fi

export LC_ALL=$TAVREL_LOCALE
# The test prefix uses the null graphics driver; a visible run needs the X11 one.
run_prefix=$TAVREL_ROOT/build/wineprefix-run
if [ ! -d "$run_prefix" ]; then
  WINEPREFIX=$run_prefix "$WINE64" wineboot -i >/dev/null 2>&1 || true
fi
export WINEPREFIX=$run_prefix

# The demo world installs its games into the run folder, takes free ports
# and writes them down.
rm -f "$run/demo.ports"
(cd "$run" && exec "$WINE64" "$bin/demo_world.exe" demo.ports .) >"$run/demo.log" 2>&1 &
world=$!
stop_world() {
  kill "$world" 2>/dev/null || true
  wait "$world" 2>/dev/null || true
}
trap stop_world EXIT
for _ in $(seq 600); do
  [ -s "$run/demo.ports" ] && break
  if ! kill -0 "$world" 2>/dev/null; then
    echo "run: the demo world did not start:" >&2
    cat "$run/demo.log" >&2
    exit 1
  fi
  sleep 0.1
done
port=$(sed -n 's/^Hall=\([0-9]*\).*/\1/p' "$run/demo.ports")
if [ -z "$port" ]; then
  echo "run: the demo world gave no hall port" >&2
  exit 1
fi
printf '[Server]\r\nServerCount=1\r\nLastServerID=0\r\nFindFastServer=1\r\n[Server0]\r\nName=Demo\r\nHost=127.0.0.1\r\nPort=%s\r\n' \
  "$port" >"$run/config/ServerList.ini"
# The user-service program beside the hall reaches the demo world's
# user-service server, and its face editor finds its pictures.
service=$(sed -n 's/^Service=\([0-9]*\).*/\1/p' "$run/demo.ports")
if [ -n "$service" ]; then
  printf '[ServiceServer]\r\nServerCount=1\r\nLastServerID=0\r\n[Server0]\r\nIP=127.0.0.1\r\nPORT=%s\r\n' \
    "$service" >"$run/config/ServiceServerList.ini"
fi
if [ -d "$bin/Res/Quillon" ]; then
  mkdir -p "$run/Res"
  cp -r "$bin/Res/Quillon" "$run/Res/"
fi
echo "run: demo hall server on 127.0.0.1:$port (account demo, password demo123; room password 1234)"

cd "$run"
status=0
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a "$WINE64" "$run/Tavrel.exe" "$@" || status=$?
else
  "$WINE64" "$run/Tavrel.exe" "$@" || status=$?
fi
exit $status
