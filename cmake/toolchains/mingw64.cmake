# Cross toolchain: 64-bit Windows DLLs and programs with x86_64-w64-mingw32-g++
# (package g++-mingw-w64-x86-64); test programs run under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUARNBASE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# The GCC runtime, the C++ library and winpthread are linked statically into
# each module, so the DLLs and programs need no runtime DLLs beside them. On
# x86_64 exceptions unwind through the system's tables, so an exception thrown
# in one module is caught in another even though each has its own runtime copy.
# That copy includes operator new and the new handler: a program's replaced
# operator new and its std::get_new_handler() do not see the DLL's.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# ctest runs the programs under wine64, quietly, in a prefix of the build tree
# that the wrapper creates on first use.
get_filename_component(QUARNBASE_WINE_RUN
                       ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUARNBASE_WINE_RUN} ${CMAKE_BINARY_DIR}/wineprefix)
