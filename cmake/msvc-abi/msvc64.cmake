# Cross toolchain: 64-bit Windows DLLs and programs with the MSVC ABI (see
# toolchain-common.cmake); test programs run under wine64.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(QUARN_MSVC_ARCH x64)
set(QUARN_MSVC_TRIPLE x86_64-pc-windows-msvc)
set(QUARNBASE_RUNNER wine64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-common.cmake)
