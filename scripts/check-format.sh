#!/usr/bin/env bash
# Checks that every tracked C++ file is formatted by the repository's
# .clang-format; prints the offending places and fails otherwise.
#   scripts/check-format.sh            check
#   scripts/check-format.sh --fix      reformat the files in place instead
# CLANG_FORMAT selects the binary (default: clang-format).
set -euo pipefail
cd "$(dirname "$0")/.."

clang_format=${CLANG_FORMAT:-clang-format}
command -v "$clang_format" >/dev/null || {
  echo "check-format: $clang_format not found" >&2
  exit 2
}

mode=(--dry-run --Werror)
case "${1:-}" in
  "") ;;
  --fix) mode=(-i) ;;
  *) echo "usage: $0 [--fix]" >&2; exit 2 ;;
esac

mapfile -t files < <(git ls-files -- '*.h' '*.hpp' '*.cpp' '*.cc' '*.cxx')
if [ "${#files[@]}" -eq 0 ]; then
  echo "check-format: no C++ files tracked" >&2
  exit 2
fi

if "$clang_format" --style=file "${mode[@]}" "${files[@]}"; then
  echo "check-format: ${#files[@]} files formatted as .clang-format says"
else
  echo "check-format: run scripts/check-format.sh --fix to reformat" >&2
  exit 1
fi
