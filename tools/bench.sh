#!/usr/bin/env bash
# Runs every benchmark program of the 64-bit build (built by tools/test.sh or
# by hand) under Wine and prints one table: each program's last line, the one
# with its ratio, beside the bound it is held to. Not part of the tests.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bin=build/win64/bin
# program | bound | what it measures
benches=(
  "start_bench|1.5|hall start to the logon dialog against the least dialog program"
  "relay_bench|1.3|game requests through the room against a plain window and socket"
  "game_list_bench|5|10,000 rooms decoded and built against copying their bytes"
  "user_list_bench|2|5,000 users in the user list against the bare list control"
  "codec_bench|2|keyed SQLite against a plain connection"
  "memory_bench|none|private bytes in a room of 5,000 users against logged on alone (report only)"
)
printf '%-16s %-6s %s\n' program bound result
for entry in "${benches[@]}"; do
  IFS='|' read -r name bound what <<<"$entry"
  if [ ! -f "$bin/$name.exe" ]; then
    printf '%-16s %-6s %s\n' "$name" "$bound" "not built"
    continue
  fi
  line=$(tools/wine-run.sh "$bin/$name.exe" 2>/dev/null | tr -d '\r' | grep ratio | tail -n 1)
  printf '%-16s %-6s %s\n' "$name" "$bound" "${line:-no ratio printed} ($what)"
done
