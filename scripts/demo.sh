#!/usr/bin/env bash
# Installs what is needed, builds, and shows the reader link at work: the reader emulator
# serves on a pseudo-terminal and kx-identify opens it through the SDK and prints who it is.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target kx-emulator kx-identify

out=$(mktemp)
build/default/tools/emulator/kx-emulator --pty /tmp/kx-demo-reader --transponder 33 >"$out" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; rm -f "$out"' EXIT
for _ in $(seq 100); do [ -s "$out" ] && break; sleep 0.05; done
device=$(head -n 1 "$out")
echo "emulated reader on $device"
build/default/tools/identify/kx-identify "$device"
