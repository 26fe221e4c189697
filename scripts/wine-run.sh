#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly, in the given wine prefix:
#   wine-run.sh [--32] <prefix-dir> <program.exe> [arguments...]
# 64-bit programs run under wine64; --32 runs 32-bit ones under 32-bit Wine
# (Debian's wine32:i386) in a 32-bit prefix. The cross toolchains use it as
# ctest's emulator (cmake/toolchains/runner.cmake). The prefix is created on
# first use; concurrent first runs (parallel tests) wait on a lock, so none
# starts in a half-made prefix. Exits with the program's status.
set -euo pipefail

wine=${QUARNBASE_WINE:-/usr/lib/wine/wine64}
if [ "${1:-}" = "--32" ]; then
  wine=${QUARNBASE_WINE32:-/usr/lib/wine/wine}
  export WINEARCH=win32
  shift
fi
if [ "$#" -lt 2 ]; then
  echo "usage: $0 [--32] <prefix-dir> <program.exe> [arguments...]" >&2
  exit 2
fi
prefix=$1
shift

export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
# No desktop integration or mono/gecko prompts in a headless prefix, and no
# debugger: a program that crashes ends at once with a failure, instead of
# waiting in winedbg until a timeout.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d}

ready=$prefix/.quarnbase-ready
if [ ! -e "$ready" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -e "$ready" ]; then
      echo "wine-run: creating wine prefix $prefix" >&2
      "$wine" wineboot --init >/dev/null 2>&1
      touch "$ready"
    fi
  ) 9>"$prefix.lock"
fi

exec "$wine" "$@"
