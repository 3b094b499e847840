#!/usr/bin/env bash
# Builds the Debian packages from the default build, checks them with lintian, installs them with
# apt-get as a user would, tries the installed files alone (no build tree on any path), then
# removes and purges them and checks that nothing of them is left. Run as root (or with sudo)
# after the default build, as scripts/test.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
packages=(kx-vantrel libkxlf1 libkxlf-dev)
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

fail() {
  echo "check-packages: $*" >&2
  exit 1
}

# Installed, or removed with its configuration kept.
known_to_dpkg() {
  local status
  status=$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null) || return 1
  [ -n "$status" ] && [ "$status" != not-installed ]
}

# dpkg, since apt no longer knows a removed package that came from a file; only the packages
# that dpkg still knows.
purge() {
  local known=()
  for package in "$@"; do
    known_to_dpkg "$package" && known+=("$package")
  done
  ((${#known[@]} == 0)) || "${sudo_cmd[@]}" dpkg --purge "${known[@]}" >/dev/null
}

# A run that stopped half-way leaves its packages installed.
purge "${packages[@]}"

rm -rf build/default/packages
cmake --build --preset default --target package >/dev/null
mapfile -t debs < <(find build/default/packages -maxdepth 1 -name '*.deb' | sort)
[ "${#debs[@]}" -eq 3 ] || fail "expected 3 packages, got: ${debs[*]}"

echo "lintian:"
lintian --fail-on error "${debs[@]}" ||
  fail "lintian reports errors"

work=$(mktemp -d)
chmod 755 "$work"
emulator=
cleanup() {
  [ -n "$emulator" ] && kill "$emulator" 2>/dev/null && wait "$emulator" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# Every file the packages bring, to see afterwards that none is left.
for deb in "${debs[@]}"; do
  dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's|^\./|/|' -e 's|/$||' | grep -v '^/$'
done | sort -u >"$work/files"

DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q \
  "${debs[@]/#/$repo/}" >/dev/null
echo "installed: ${packages[*]}"

# The installed files alone: system paths only, and a working directory without the build.
run() {
  (cd "$work" && exec env -i PATH=/usr/bin:/bin HOME="$work/home" "$@")
}
mkdir -p "$work/home"

[ "$(run kx-cli --version)" = "kx-cli $(dpkg-query -W -f='${Version}' kx-vantrel)" ] ||
  fail "kx-cli --version: $(run kx-cli --version)"

(cd "$work" && exec env -i PATH=/usr/bin:/bin kx-emulator --pty "$work/reader" --transponder 33) \
  >"$work/emulator.out" &
emulator=$!
for _ in $(seq 100); do [ -s "$work/emulator.out" ] && break; sleep 0.05; done
port=$(head -n 1 "$work/emulator.out")
[ -n "$port" ] || fail "the installed emulator printed no port"
run kx-cli --port "$port" write --type ti-multipage --verify 1A2B
[ "$(run kx-cli --port "$port" read --type ti-multipage)" = 00001A2B ] ||
  fail "the installed kx-cli did not read back what it wrote"
run kx-identify "$port" >/dev/null || fail "kx-identify does not find the emulated reader"

# The program as a user starts it: no display, a home of its own, not root (root may write into
# the program directory, a user may not, so the default logs move to the data directory).
mkdir -p "$work/user"
chown nobody "$work/user"
files=$(cd "$work" && env -i PATH=/usr/bin:/bin HOME="$work/user" QT_QPA_PLATFORM=offscreen \
  setpriv --reuid=nobody --regid=nogroup --clear-groups kx-vantrel --files) ||
  fail "kx-vantrel --files: the English texts or the manual are missing:
$files"
echo "$files"
grep -qx "English texts      /usr/libexec/kx-vantrel/KX_M71_VantrelEng.so" <<<"$files" ||
  fail "kx-vantrel does not load its English texts from its program directory"
manual=$(sed -n 's/^manual  *//p' <<<"$files")
[ "$(readlink -f "$manual")" = /usr/share/doc/kx-vantrel/KX-M71_Vantrel_Bedienungsanleitung.pdf ] ||
  fail "F1 would not open the manual in /usr/share/doc/kx-vantrel: $manual"
[ "$(head -c 5 "$manual")" = "%PDF-" ] || fail "the manual is no PDF"
grep -qx "default logs       $work/user/.local/share/Orv Applikationen/KX-M71 Vantrel/" \
  <<<"$files" || fail "the default logs are not in the user's data directory"
desktop-file-validate /usr/share/applications/kx-vantrel.desktop || fail "desktop entry"
for size in 16 22 24 32 48 64 128 256; do
  [ -s "/usr/share/icons/hicolor/${size}x${size}/apps/kx-vantrel.png" ] || fail "no ${size}px icon"
done
KX_UDEV_RULES=/usr/lib/udev/rules.d/70-kx-vantrel.rules build/default/tests/packaging/udev_rules_tests \
  --gtest_brief=1 >/dev/null || fail "the installed udev rules and the library's id table differ"

# Programs against the development package: one through pkg-config, one through CMake.
cat >"$work/reader.c" <<'CODE'
#include <stdio.h>
#include "kxlf.h"
int main(int argc, char** argv) {
  if (argc < 2) return 1;
  int handle = KxLfOpen(argv[1], 19200, 0, 500);
  if (handle <= 0) return 1;
  unsigned char data[8];
  int n = KxLfReadBlocks(handle, 33, 1, data, sizeof data);
  KxLfClose(handle);
  if (n < 4) return 2;
  printf("%02X%02X%02X%02X\n", data[3], data[2], data[1], data[0]);
  return 0;
}
CODE
run sh -c 'cc -o reader-pc reader.c $(pkg-config --cflags --libs kxlf)'
[ "$(run ./reader-pc "$port")" = 00001A2B ] || fail "the pkg-config program read something else"
cat >"$work/CMakeLists.txt" <<'CODE'
cmake_minimum_required(VERSION 3.16)
project(reader C)
find_package(kxlf 1 REQUIRED)
add_executable(reader-cmake reader.c)
target_link_libraries(reader-cmake PRIVATE kxlf::kxlf)
CODE
run cmake -S . -B cmake-build -G Ninja >/dev/null
run cmake --build cmake-build >/dev/null
[ "$(run cmake-build/reader-cmake "$port")" = 00001A2B ] ||
  fail "the find_package(kxlf) program read something else"
echo "built against libkxlf-dev with pkg-config and with find_package(kxlf)"

kill "$emulator" && wait "$emulator" 2>/dev/null || true
emulator=
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -q "${packages[@]}" >/dev/null
purge "${packages[@]}"
for package in "${packages[@]}"; do
  ! known_to_dpkg "$package" || fail "$package is still known to dpkg"
done
# Directories that other packages share (/usr/bin, ...) stay; everything of ours goes.
left=$(while read -r path; do
  [ -e "$path" ] || [ -L "$path" ] || continue
  [ -d "$path" ] && [ ! -L "$path" ] && dpkg -S "$path" >/dev/null 2>&1 && continue
  echo "$path"
done <"$work/files")
[ -z "$left" ] || fail "left after purge:
$left"
echo "removed and purged; nothing of the packages is left"
