#!/usr/bin/env bash
# Installs what the cross presets need: the cross compilers, Wine and
# emulators, the GoogleTest sources, the tools of the msvc64 and msvc32
# presets, those of the release and docs presets, and LLDB for the debugger
# checks of the test preset. Idempotent: packages already present are left
# alone, and the package lists are refreshed only when something is missing.
set -euo pipefail

# mingw64 and mingw32: the Windows cross compilers, and wine64 to run the tests.
packages=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64)
# mingw32, mingw32-static, msvc32: 32-bit Wine runs their tests, on a machine
# that starts 32-bit x86 programs (elsewhere those lanes build only).
foreign=()
if "$(dirname "$0")/x86-32-starts.sh" >/dev/null; then
  packages+=(wine32:i386)
  foreign+=(i386)
fi
# msvc64, msvc32 (cmake/msvc-abi/): clang-cl, lld-link and llvm-dlltool, the
# C++ library headers of libc++, Wine's C runtime and Windows headers.
packages+=(clang-14 lld-14 llvm-14 libc++-14-dev libwine-dev)
# i686, aarch64 and s390x: the Linux cross compilers (with their C libraries and
# sanitizer runtimes) and qemu-user to run the tests. Every cross preset builds
# GoogleTest from the sources in /usr/src/googletest.
packages+=(g++-i686-linux-gnu g++-aarch64-linux-gnu g++-s390x-linux-gnu qemu-user googletest)
# release, docs (packaging lanes): the ABI check (abidw, abidiff), the API
# reference, and the .deb's dependency list (dpkg-shlibdeps).
packages+=(abigail-tools doxygen dpkg-dev)
# test (debugger/): LLDB and its Python module, to check the LLDB formatters.
packages+=(lldb-14 python3-lldb-14)

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
for arch in "${foreign[@]}"; do
  $SUDO dpkg --add-architecture "$arch"
done
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
