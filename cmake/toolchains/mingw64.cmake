# Cross toolchain: 64-bit Windows DLLs and programs with x86_64-w64-mingw32-g++
# (package g++-mingw-w64-x86-64); test programs run under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUARNBASE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# ctest runs the programs under wine64, quietly, in a prefix of the build tree
# that the wrapper creates on first use.
get_filename_component(QUARNBASE_WINE_RUN
                       ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUARNBASE_WINE_RUN} ${CMAKE_BINARY_DIR}/wineprefix)
