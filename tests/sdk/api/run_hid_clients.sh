#!/usr/bin/env bash
# Runs the C and the Python client over a HID name, with the SDK bound to the test build of
# hidapi and one reader plugged into it. Without a script argument only the C client runs.
set -euo pipefail
fake_hidapi=$1 c_client=$2 library=$3 script=${4:-}
export KXLF_HIDAPI_LIBRARY=$fake_hidapi KX_FAKE_HID_READERS=7731-0042
"$c_client" "7731-0042 HID:1"
[ -z "$script" ] || python3 "$script" "$library" "7731-0042 HID"
