#!/usr/bin/env bash
# Installs the cross compilers, emulators and GoogleTest sources that the cross
# presets need. Idempotent: packages already present are left alone, and the
# package lists are refreshed only when something is missing.
set -euo pipefail

# mingw64 and mingw32: the Windows cross compilers, and wine64 to run the tests.
packages=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64)
# i686, aarch64 and s390x: the Linux cross compilers (with their C libraries and
# sanitizer runtimes) and qemu-user to run the tests. Every cross preset builds
# GoogleTest from the sources in /usr/src/googletest.
packages+=(g++-i686-linux-gnu g++-aarch64-linux-gnu g++-s390x-linux-gnu qemu-user googletest)

missing=()
for pkg in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  echo "install-cross-tools: all present (${packages[*]})"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

export DEBIAN_FRONTEND=noninteractive
echo "install-cross-tools: installing ${missing[*]}"
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
