#!/usr/bin/env bash
# The C and the Python client against the emulator over TCP, by a LAN name: the emulator in a
# network namespace of its own, the clients in another, joined by a veth pair. Runs under
# tests/netns/netns_test.sh, which skips without the rights to create namespaces and removes
# them afterwards. Without a script argument only the C client runs.
set -euo pipefail
emulator=$1 c_client=$2 library=$3 script=${4:-}
host=${KX_NETNS_PREFIX}host reader=${KX_NETNS_PREFIX}reader
ip netns add "$host"
ip netns add "$reader"
ip -n "$host" link add kx0 type veth peer name kx1 netns "$reader"
ip -n "$host" addr add 198.18.0.1/24 dev kx0
ip -n "$reader" addr add 198.18.0.2/24 dev kx1
for end in "$host kx0" "$reader kx1"; do
  set -- $end
  ip -n "$1" link set lo up
  ip -n "$1" link set "$2" up
  ip -n "$1" route add default dev "$2"
done
out=$(mktemp)
ip netns exec "$reader" "$emulator" --tcp 198.18.0.2:10001 --transponder 33 >"$out" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; rm -f "$out"' EXIT
for _ in $(seq 100); do [ -s "$out" ] && break; sleep 0.05; done
name=$(head -n 1 "$out")
ip netns exec "$host" "$c_client" "$name:1"
[ -z "$script" ] || ip netns exec "$host" python3 "$script" "$library" "$name"
