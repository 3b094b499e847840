#!/usr/bin/env bash
# Installs what is needed, builds every configuration and runs every test:
#   default build (all tests), the conversion and INI libraries alone (no Qt, no SDK),
#   the fuzzers for a bounded time, AddressSanitizer + UndefinedBehaviorSanitizer (all tests),
#   ThreadSanitizer (the tests of threaded code).
# After the default build, scripts/check-packages.sh installs and tries its Debian packages.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)

# A compiler cache, where the machine has one, makes the five configurations' repeated builds
# cheap; paths are taken relative to the checkout so that another clone shares the cache.
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-include_file_mtime,include_file_ctime}"
fi
fuzz_seconds=${KX_FUZZ_SECONDS:-30}

run_preset() {
  local preset=$1
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
}

echo "== default build"
run_preset default
ctest --preset default -j"$jobs"

echo "== Debian packages: lintian, installed, tried, purged"
scripts/check-packages.sh

echo "== conversion and INI libraries alone"
run_preset core
ctest --preset core -j"$jobs"
if find build/core -type f -perm -u+x -name '*_tests' -exec ldd {} + | grep -E -i 'qt|kxlf|udev|curl|ssl|crypto'; then
  echo "the core libraries link more than the standard library" >&2
  exit 1
fi

echo "== fuzzers, ${fuzz_seconds} s each"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs" --target fuzzers
for fuzzer in $(find build/fuzz -type f -perm -u+x -name '*_fuzz'); do
  corpus=$(mktemp -d)
  echo "$(basename "$fuzzer"):"
  "$fuzzer" -max_total_time="$fuzz_seconds" "$corpus" 2>&1 | tail -n 1
  rm -rf "$corpus"
done

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
run_preset asan
ctest --preset asan -j"$jobs"

echo "== ThreadSanitizer (threaded code)"
run_preset tsan
ctest --preset tsan -j"$jobs"
