#!/usr/bin/env bash
# Checks the ABI of the built Linux shared libraries against the baseline
# committed in abi/, with libabigail: abidw describes each library (its exported
# functions and variables and every type they reach, from the debug info) and
# abidiff compares that with the baseline.
#
#   scripts/check-abi.sh [--update] <build-dir>
#
# <build-dir> holds libquarnbase.so and basesup/libbasesup.so, built by g++
# with debug info (the release preset). The check fails on any change but an
# added function or variable: a removed or re-mangled export, a changed
# parameter, return or field type, an inserted, removed or moved field, a
# changed size. It also fails when the SONAME differs from the baseline's.
#
# A break that is intended goes with a new SOVERSION: raise the major version
# in project() (CMakeLists.txt), rebuild, and run with --update, which rewrites
# the baseline. --update refuses an incompatible change under an unchanged
# SONAME. After additions, --update records them, so that their later removal
# is caught too.
set -euo pipefail

# shellcheck source=update-args.sh
source "$(dirname "$0")/update-args.sh"
parse_update_args check-abi "$@"
for tool in abidw abidiff; do
  command -v "$tool" >/dev/null || { echo "check-abi: $tool not found (install abigail-tools)" >&2; exit 2; }
done

repo=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(cd "$build_dir" && pwd)
baseline_dir=$repo/abi
work=$build_dir/abi
mkdir -p "$work"

# The description of a library, without what depends on where it was built or
# on what it calls: no file locations, no build paths (sources named relative
# to the tree), no declarations of the functions it imports.
describe() {
  abidw --drop-undefined-syms --no-corpus-path --no-comp-dir-path --no-show-locs "$1" |
    sed "s|path='$repo/|path='|"
}

soname() {
  sed -n "s/^<abi-corpus [^>]*soname='\([^']*\)'.*/\1/p" "$1"
}

status=0
updates=()  # with --update: the descriptions to become the baseline
for library in quarnbase basesup; do
  so=""
  for candidate in "$build_dir/lib$library.so" "$build_dir/$library/lib$library.so" \
                   "$build_dir/basesup/lib$library.so"; do
    if [ -e "$candidate" ]; then so=$candidate; break; fi
  done
  [ -n "$so" ] || { echo "check-abi: no lib$library.so in $build_dir" >&2; exit 2; }

  built=$work/linux-x86_64-$library.abi
  describe "$so" >"$built"
  if ! grep -q '<abi-instr' "$built"; then
    echo "check-abi: lib$library.so has no debug info (build with -g)" >&2
    exit 2
  fi
  baseline=$baseline_dir/linux-x86_64-$library.abi

  if [ ! -f "$baseline" ]; then
    if [ "$update" -eq 1 ]; then
      updates+=("$built")
    else
      echo "check-abi: abi/${baseline##*/} is missing" >&2
      status=1
    fi
    continue
  fi

  old_soname=$(soname "$baseline")
  new_soname=$(soname "$built")
  # Added functions and variables are compatible; anything else abidiff
  # reports (exit bit 4: a change, bit 8: an incompatible one) is a break.
  set +e
  report=$(abidiff --no-added-syms "$baseline" "$built")
  rc=$?
  set -e
  if [ $((rc & 3)) -ne 0 ]; then
    printf '%s\n' "$report" >&2
    echo "check-abi: abidiff failed on lib$library.so (exit $rc)" >&2
    exit 2
  fi
  broken=$((rc & 12))

  if [ "$update" -eq 1 ]; then
    if [ "$broken" -ne 0 ] && [ "$old_soname" = "$new_soname" ]; then
      printf '%s\n' "$report"
      echo "check-abi: lib$library.so breaks the ABI of $old_soname; raise the major version" >&2
      echo "check-abi: in project() (CMakeLists.txt), which is the SOVERSION, then update" >&2
      status=1
      continue
    fi
    updates+=("$built")
    continue
  fi

  if [ "$old_soname" != "$new_soname" ]; then
    echo "check-abi: lib$library.so is $new_soname, the baseline is of $old_soname:" >&2
    echo "check-abi: after an intended break, update the baseline with the SOVERSION" >&2
    status=1
  elif [ "$broken" -ne 0 ]; then
    printf '%s\n' "$report"
    echo "check-abi: lib$library.so breaks the ABI of $old_soname (abidiff exit $rc)" >&2
    status=1
  else
    echo "check-abi: lib$library.so keeps the ABI of $old_soname"
  fi
done

# The baseline changes only as a whole.
if [ "$update" -eq 1 ] && [ "$status" -eq 0 ]; then
  mkdir -p "$baseline_dir"
  for built in "${updates[@]}"; do
    cp "$built" "$baseline_dir/"
    echo "check-abi: wrote abi/${built##*/} ($(soname "$built"))"
  done
fi

if [ "$status" -ne 0 ] && [ "$update" -eq 0 ]; then
  echo "check-abi: clients built against the baseline would break. If that is intended:" >&2
  echo "  raise the major version in project() (the SOVERSION), rebuild, run" >&2
  echo "  scripts/check-abi.sh --update $build_dir and commit abi/ with it." >&2
fi
exit "$status"
