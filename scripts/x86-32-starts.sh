#!/usr/bin/env bash
# Exits 0 when this machine starts 32-bit x86 programs, 1 when it cannot, and
# says which on standard output. The check builds a tiny static program with
# binutils alone (no 32-bit C library needed) and runs it: kernels without
# 32-bit support refuse it with "Exec format error".
#
# QUARNBASE_X86_32_STARTS=1 or 0 in the environment answers without checking
# (.ci/run checks once and passes the answer to every lane).
set -u

case "${QUARNBASE_X86_32_STARTS:-}" in
  1) echo "32-bit x86 programs start on this machine"; exit 0 ;;
  0) echo "this machine cannot start 32-bit x86 programs"; exit 1 ;;
esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '.globl _start\n_start:\n movl $1, %%eax\n movl $42, %%ebx\n int $0x80\n' >"$work/exit42.s"
if ! as --32 -o "$work/exit42.o" "$work/exit42.s" 2>/dev/null ||
   ! ld -m elf_i386 -o "$work/exit42" "$work/exit42.o" 2>/dev/null; then
  echo "this machine cannot start 32-bit x86 programs (binutils cannot build one)"
  exit 1
fi
"$work/exit42" 2>/dev/null
if [ "$?" -eq 42 ]; then
  echo "32-bit x86 programs start on this machine"
  exit 0
fi
echo "this machine cannot start 32-bit x86 programs"
exit 1
