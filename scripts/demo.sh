#!/usr/bin/env bash
# Installs what is needed, builds, and shows the program at its main job without a reader: the
# reader emulator serves on a pseudo-terminal with a transponder in its field, and kx-vantrel
# starts connected to it. The emulated port is stored only in a settings folder of this demo,
# never in the operator's own settings. Without a display, kx-identify and kx-cli show the
# same reader on the command line instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target kx-emulator kx-identify kx-cli kx-vantrel kx-manual

out=$(mktemp)
settings=$(mktemp -d)
build/default/tools/emulator/kx-emulator --pty "$settings/reader" --transponder 33 >"$out" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; rm -rf "$out" "$settings"' EXIT
for _ in $(seq 100); do [ -s "$out" ] && break; sleep 0.05; done
device=$(head -n 1 "$out")
echo "emulated reader with a TI transponder on $device"

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "no display: the reader seen from the command line"
  build/default/tools/identify/kx-identify "$device"
  build/default/tools/cli/kx-cli --port "$device" write --type ti-multipage --verify 1A2B
  build/default/tools/cli/kx-cli --port "$device" read --type ti-multipage
  exit 0
fi

mkdir -p "$settings/Orv Applikationen"
# The demo never looks for updates: the check at start-up is off, and an empty KX_UPDATE_URL
# leaves nothing to fetch when the About dialog opens.
printf '[Port]\nName=%s\nAdresse=1\n[Version]\nUpdate=0\n' "$device" \
  >"$settings/Orv Applikationen/KX-M71 Vantrel.conf"
echo "starting kx-vantrel; close its window to end the demo"
XDG_CONFIG_HOME="$settings" KX_UPDATE_URL="" build/default/app/main/kx-vantrel
