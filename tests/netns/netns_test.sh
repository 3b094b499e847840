#!/usr/bin/env bash
# Runs a LAN test inside the namespace bench: gives it a namespace prefix of its own and removes
# every namespace under that prefix when it ends, however it ends. Without the rights to create
# network namespaces the test is skipped (exit code 77).
#   netns_test.sh PROGRAM [ARGS...]
set -uo pipefail
prefix="kxt$$-"
if ! ip netns add "${prefix}probe" 2>/dev/null; then
  echo "network namespaces cannot be created here; skipping" >&2
  exit 77
fi
ip netns del "${prefix}probe"
cleanup() {
  for ns in $(ip netns list | awk '{print $1}' | grep "^${prefix}"); do
    ip netns del "$ns"
  done
}
trap cleanup EXIT
KX_NETNS_PREFIX=$prefix "$@"
