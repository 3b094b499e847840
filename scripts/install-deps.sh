#!/usr/bin/env bash
# Installs the Debian 12 packages that the build and the tests need.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  clang            # libFuzzer targets
  libgtest-dev libgmock-dev libbenchmark-dev
  libudev-dev
  libasound2-dev   # the success beep
  qt6-base-dev     # the program's windows (Widgets, Test)
  python3          # the ctypes client test of libkxlf.so
  iproute2         # network namespaces of the LAN tests (ip netns)
  groff            # the operator's manual (PDF)
  dpkg-dev file help2man librsvg2-bin   # Debian packages: dependencies, manual pages, icons
  lintian desktop-file-utils            # checks of the packages
  libcurl4-openssl-dev libssl-dev       # the update check: HTTPS, installer signatures
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
