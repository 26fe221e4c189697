# Cross toolchain: 32-bit Windows DLLs with the MSVC ABI (__thiscall members,
# 32-bit layouts; see toolchain-common.cmake); test programs run under 32-bit
# Wine where the machine starts 32-bit programs (../toolchains/runner.cmake).
set(CMAKE_SYSTEM_PROCESSOR X86)
set(QUARN_MSVC_ARCH x86)
set(QUARN_MSVC_TRIPLE i686-pc-windows-msvc)
# SSE2, as cl assumes for x86 unless told /arch:IA32; clang-cl would assume a
# processor without it.
set(QUARN_MSVC_ARCH_FLAGS /arch:SSE2)
set(QUARNBASE_RUNNER wine32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-common.cmake)
