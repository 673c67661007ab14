#!/usr/bin/env bash
# Exit 0 where this machine runs 32-bit x86 code, 1 where it does not (a
# kernel without 32-bit emulation refuses every i386 program with "Exec
# format error"). Asks afresh each time: a three-instruction program, made
# with the native binutils, about 20 ms.
#   WENDREL_FORCE_NO_32BIT=1  answer no, to try out the other kind of machine
[ "${WENDREL_FORCE_NO_32BIT:-}" = 1 ] && exit 1
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
printf '.globl _start\n_start: mov $1,%%eax\n xor %%ebx,%%ebx\n int $0x80\n' >"$dir/p.s"
as --32 -o "$dir/p.o" "$dir/p.s" 2>/dev/null &&
  ld -m elf_i386 -o "$dir/p" "$dir/p.o" 2>/dev/null &&
  "$dir/p" 2>/dev/null && exit 0
exit 1
