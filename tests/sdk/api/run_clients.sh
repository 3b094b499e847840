#!/usr/bin/env bash
# Starts the emulator on a pseudo-terminal and runs the C and the Python client against it.
# Without a script argument only the C client runs.
set -euo pipefail
emulator=$1 c_client=$2 library=$3 script=${4:-}
out=$(mktemp)
"$emulator" --pty "$(mktemp -u /tmp/kx-client-reader.XXXXXX)" >"$out" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; rm -f "$out"' EXIT
for _ in $(seq 100); do [ -s "$out" ] && break; sleep 0.05; done
device=$(head -n 1 "$out")
"$c_client" "$device"
[ -z "$script" ] || python3 "$script" "$library" "$device"
