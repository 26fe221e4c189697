#!/usr/bin/env bash
# Builds and runs a client of an unpacked release package, as a user would:
#
#   scripts/check-package.sh <build-dir>
#
# <build-dir> is where cpack left the packages (the release or mingw64-release
# workflow). The .deb is unpacked into a scratch root and tests/consumer is
# built against <root>/usr, through find_package and through pkg-config, and
# run. The Windows .zip is unpacked, checked for the DLLs, import libraries,
# headers and package files, and the find_package client is cross-built
# against it (quarnbase_DIR: the cross toolchain searches only its own root)
# and run under wine64 beside the package's DLLs.
set -euo pipefail

[ "$#" -eq 1 ] || { echo "usage: $0 <build-dir>" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(cd "$1" && pwd)
work=$build_dir/package-check
rm -rf "$work"
mkdir -p "$work"

shopt -s nullglob
debs=("$build_dir"/*.deb)
zips=("$build_dir"/*.zip)
if [ "${#debs[@]}" -eq 1 ]; then
  echo "check-package: ${debs[0]##*/}"
  dpkg-deb -x "${debs[0]}" "$work/root"
  version=$(dpkg-deb -f "${debs[0]}" Version)
  cmake -DWORK_DIR="$work/client" -DPROJECT_DIR="$repo/tests/consumer" -DCXX=g++ \
        -DGENERATOR=Ninja -DVERSION="$version" -DLIBRARY_TYPE=SHARED -DPREFIX="$work/root/usr" \
        -P "$repo/tests/consumer/ConsumerCheck.cmake"
  echo "check-package: the find_package and pkg-config clients built and ran against it"
elif [ "${#zips[@]}" -eq 1 ]; then
  echo "check-package: ${zips[0]##*/}"
  cmake -E chdir "$work" cmake -E tar xf "${zips[0]}"
  root=$(find "$work" -mindepth 1 -maxdepth 1 -type d)
  for file in bin/quarnbase.dll bin/basesup.dll lib/libquarnbase.dll.a lib/libbasesup.dll.a \
              include/quarnbase/quarnbase.h include/quarnbase/version.h \
              include/quarnbase/quarnbase_export.h include/basesup/basesup.h \
              lib/cmake/quarnbase/quarnbaseConfig.cmake lib/pkgconfig/quarnbase.pc; do
    [ -f "$root/$file" ] || { echo "check-package: $file is missing" >&2; exit 1; }
  done
  cmake -S "$repo/tests/consumer/project" -B "$work/client" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchains/mingw64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -Dquarnbase_DIR="$root/lib/cmake/quarnbase" >/dev/null
  cmake --build "$work/client" >/dev/null
  cp "$root"/bin/*.dll "$work/client/bin/"
  output=$("$repo/scripts/wine-run.sh" "$work/wineprefix" "$work/client/bin/consumer.exe")
  printf '%s\n' "$output"
  case "$output" in
    *"consumer: hello, world (12), quarnbase "*) ;;
    *) echo "check-package: unexpected output from the client" >&2; exit 1 ;;
  esac
  echo "check-package: the find_package client built against it and ran under wine64"
else
  echo "check-package: no single .deb or .zip in $build_dir" >&2
  exit 2
fi
