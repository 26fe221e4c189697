# Cross toolchain: 32-bit Windows DLLs and programs with i686-w64-mingw32-g++
# (package g++-mingw-w64-i686); test programs run under 32-bit Wine where the
# machine starts 32-bit programs (runner.cmake).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUARNBASE_MINGW_TRIPLE i686-w64-mingw32)
set(QUARNBASE_RUNNER wine32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# The 32-bit compiler unwinds with DWARF tables that each copy of the GCC runtime
# registers for its own module only; an exception could then not travel from a
# DLL into its caller. The shared GCC runtime (mingw-common.cmake) makes that
# one copy per process.
