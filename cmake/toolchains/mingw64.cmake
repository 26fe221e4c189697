# Cross toolchain: 64-bit Windows DLLs and programs with x86_64-w64-mingw32-g++
# (package g++-mingw-w64-x86-64); test programs run under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUARNBASE_MINGW_TRIPLE x86_64-w64-mingw32)
set(QUARNBASE_RUNNER wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
