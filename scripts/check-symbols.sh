#!/usr/bin/env bash
# Checks the symbols that the built shared libraries export against the lists
# committed in symbols/, and fails with a diff when one appears or disappears.
#
#   scripts/check-symbols.sh [--update] <build-dir>
#
# It builds nothing: it reads quarnbase and basesup from <build-dir>, either the
# Linux libraries (libquarnbase.so, libbasesup.so: dynamic symbols defined in
# them) or the Windows DLLs (quarnbase.dll, basesup.dll: their export tables).
# Names are demangled, stripped of versions and addresses, and sorted; the
# names of DLLs built with the MSVC ABI (those importing vcruntime140.dll) stay
# mangled, as the modules that link against them see them, and a difference is
# shown demangled as well. The lists are symbols/<platform>-<library>.txt with
# platform linux, mingw64, mingw32, msvc64 or msvc32. With --update the lists
# are rewritten from the build instead.
set -euo pipefail

# shellcheck source=update-args.sh
source "$(dirname "$0")/update-args.sh"
parse_update_args check-symbols "$@"

repo=$(cd "$(dirname "$0")/.." && pwd)
lists=$repo/symbols
export LC_ALL=C

# Finds the one file named $1 in the build tree (outside test and install trees).
find_one() {
  local found
  found=$(find "$build_dir" -maxdepth 3 \( -path "*/tests" -o -path "*/_deps" \) -prune \
            -o -name "$1" \( -type f -o -type l \) -print | sort)
  if [ -z "$found" ]; then
    return 1
  fi
  if [ "$(printf '%s\n' "$found" | wc -l)" -ne 1 ]; then
    echo "check-symbols: more than one $1 under $build_dir:" >&2
    printf '  %s\n' $found >&2
    exit 2
  fi
  printf '%s\n' "$found"
}

# Symbols that toolchains, linkers and sanitizers add on their own; they are no
# part of the library's interface.
filter_tool_symbols() {
  grep -Ev '^(_init|_fini|_edata|_end|__bss_start|__gmon_start__)$|^(__asan|__odr_asan|__ubsan|__sanitizer|__lsan|__msan|__tsan|__sancov|__llvm)' || true
}

# Exported symbols of a Linux shared library, one demangled name a line. Two
# kinds of weak symbol are left out, as they depend on the compiler, its
# optimisation level and its sanitizers rather than on the interface:
# instantiations of standard-library templates (the standard headers give them
# default visibility) and typeinfo of function types (added by -fsanitize=function).
elf_symbols() {
  nm -D --defined-only --format=posix "$1" \
    | awk '!($2 ~ /^[WVu]$/ && $1 ~ /^_Z(T[ISV])?(N[VKRO]*)?S[tabsiod]|^_ZT[IS]F/) { print $1 }' \
    | sed 's/@.*//' | filter_tool_symbols | c++filt | sort -u
}

# Exported names of a DLL's export table, one demangled name a line.
pe_symbols() {
  "$objdump" -p "$1" | awk '
    /^\[Ordinal\/Name Pointer\] Table/ { table = 1; next }
    table && /^[[:space:]]*$/ { table = 0 }
    table && /^[[:space:]]*\[/ { print $NF }' \
    | filter_tool_symbols | c++filt | sort -u
}

# The LLVM tools that read MSVC-ABI DLLs.
llvm_tool() {
  local tool
  for tool in "$1-14" "$1"; do
    if command -v "$tool" >/dev/null; then
      echo "$tool"
      return
    fi
  done
  echo "check-symbols: $1 not found (install llvm-14)" >&2
  exit 2
}

# msvc64 or msvc32 for a DLL built with the MSVC ABI; fails for any other.
msvc_platform() {
  local readobj
  readobj=$(llvm_tool llvm-readobj 2>/dev/null) || return 1
  "$readobj" --coff-imports "$1" 2>/dev/null | grep -qi '^ *Name: vcruntime140\.dll$' || return 1
  case "$("$readobj" --file-headers "$1" | sed -n 's/^ *Arch: //p')" in
    x86_64) echo msvc64 ;;
    i386) echo msvc32 ;;
    *) return 1 ;;
  esac
}

# Exported names of an MSVC-ABI DLL, mangled, one a line.
msvc_symbols() {
  "$(llvm_tool llvm-readobj)" --coff-exports "$1" | sed -n 's/^ *Name: \(..*\)$/\1/p' | sort -u
}

status=0
# Compares (or with --update, writes) one list.
check_list() {
  local name=$1 listing=$2
  local list=$lists/$name.txt
  if [ "$update" -eq 1 ]; then
    mkdir -p "$lists"
    printf '%s\n' "$listing" >"$list"
    echo "check-symbols: wrote symbols/$name.txt ($(printf '%s\n' "$listing" | wc -l) symbols)"
    return
  fi
  if [ ! -f "$list" ]; then
    echo "check-symbols: symbols/$name.txt is missing" >&2
    status=1
    return
  fi
  local difference
  if difference=$(diff -u --label "symbols/$name.txt (committed)" --label "$name (built)" \
      "$list" <(printf '%s\n' "$listing")); then
    echo "check-symbols: $name: $(printf '%s\n' "$listing" | wc -l) symbols as listed"
  else
    printf '%s\n' "$difference"
    echo "check-symbols: $name exports differ from symbols/$name.txt (- gone, + new)" >&2
    if [[ $name == msvc* ]]; then
      echo "check-symbols: the differing names demangled:" >&2
      printf '%s\n' "$difference" | sed -n 's/^\([-+]\)\([^-+].*\)$/\1 \2/p' |
        while read -r sign symbol; do
          echo "$sign $("$(llvm_tool llvm-undname)" "$symbol" | sed -n 2p)" >&2
        done
    fi
    status=1
  fi
}

# Checks the lists of $platform: quarnbase's, read from <library> with
# <reader>, then basesup's, read the same way from the file named <basesup>.
check_libraries() {
  local reader=$1 library=$2 basesup_name=$3 basesup
  check_list "$platform-quarnbase" "$("$reader" "$library")"
  if basesup=$(find_one "$basesup_name"); then
    check_list "$platform-basesup" "$("$reader" "$basesup")"
  else
    echo "check-symbols: no $basesup_name under $build_dir" >&2
    status=1
  fi
}

if so=$(find_one libquarnbase.so); then
  platform=linux
  check_libraries elf_symbols "$so" libbasesup.so
elif dll=$(find_one quarnbase.dll) && platform=$(msvc_platform "$dll"); then
  check_libraries msvc_symbols "$dll" basesup.dll
elif dll=$(find_one quarnbase.dll); then
  objdump="" format=""
  for tool in x86_64-w64-mingw32-objdump i686-w64-mingw32-objdump objdump; do
    command -v "$tool" >/dev/null || continue
    format=$("$tool" -f "$dll" 2>/dev/null | sed -n 's/.*file format //p')
    if [ -n "$format" ]; then
      objdump=$tool
      break
    fi
  done
  case "$format" in
    pei-x86-64) platform=mingw64 ;;
    pei-i386) platform=mingw32 ;;
    *)
      echo "check-symbols: cannot read $dll as an x86 DLL (install the mingw-w64 binutils)" >&2
      exit 2 ;;
  esac
  check_libraries pe_symbols "$dll" basesup.dll
else
  echo "check-symbols: neither libquarnbase.so nor quarnbase.dll under $build_dir" >&2
  exit 2
fi

if [ "$status" -ne 0 ] && [ "$update" -eq 0 ]; then
  echo "check-symbols: if the change is intended, run" >&2
  echo "  scripts/check-symbols.sh --update $build_dir" >&2
  echo "and commit the lists in symbols/ with it." >&2
fi
exit "$status"
