# Cross toolchain: 32-bit Windows DLLs with i686-w64-mingw32-g++ (package
# g++-mingw-w64-i686). Compile and link only: no emulator runs 32-bit programs here.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUARNBASE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# The 32-bit compiler unwinds with DWARF tables that each copy of the GCC runtime
# registers for its own module only; an exception could then not travel from a
# DLL into its caller. So the GCC runtime stays shared (libgcc_s_dw2-1.dll, one
# per process), while the C++ library is linked statically into each module.
# Deploying the DLL takes libgcc_s_dw2-1.dll and libwinpthread-1.dll beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-shared-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-shared-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-shared-libgcc -static-libstdc++")
