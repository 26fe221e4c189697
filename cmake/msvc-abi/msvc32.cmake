# Cross toolchain: 32-bit Windows DLLs with the MSVC ABI (__thiscall members,
# 32-bit layouts; see toolchain-common.cmake). Compile and link only: no
# emulator runs 32-bit Windows programs here.
set(CMAKE_SYSTEM_PROCESSOR X86)
set(QUARN_MSVC_ARCH x86)
set(QUARN_MSVC_TRIPLE i686-pc-windows-msvc)
# SSE2, as cl assumes for x86 unless told /arch:IA32; clang-cl would assume a
# processor without it.
set(QUARN_MSVC_ARCH_FLAGS /arch:SSE2)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-common.cmake)
