# Shared part of the mingw-w64 cross toolchains; included by mingw64.cmake and
# mingw32.cmake after they set QUARNBASE_MINGW_TRIPLE.
#
# The posix thread model of the cross compiler is used: it offers std::thread
# and std::mutex as well as thread_local. DLLs and test programs go to one
# output directory, so that a program finds the DLLs next to itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 10)

set(CMAKE_C_COMPILER ${QUARNBASE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUARNBASE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUARNBASE_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${QUARNBASE_MINGW_TRIPLE}-ar CACHE FILEPATH "Archiver")
set(CMAKE_RANLIB ${QUARNBASE_MINGW_TRIPLE}-ranlib CACHE FILEPATH "Ranlib")

set(CMAKE_FIND_ROOT_PATH /usr/${QUARNBASE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The DLLs are named quarnbase.dll and basesup.dll (the import libraries keep
# the lib prefix); the platform rules read this file after their own defaults.
set(CMAKE_USER_MAKE_RULES_OVERRIDE ${CMAKE_CURRENT_LIST_DIR}/mingw-rules.cmake)

if(NOT DEFINED CMAKE_RUNTIME_OUTPUT_DIRECTORY)
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()

# The GCC runtime, the C++ library and winpthread are linked as DLLs
# (libgcc_s_seh-1.dll or libgcc_s_dw2-1.dll, libstdc++-6.dll,
# libwinpthread-1.dll), one copy per process, deployed beside ours
# (cmake/MinGWRuntime.cmake). Each of them then gets the thread notifications it
# frees its per-thread data with, although quarnbase.dll switches its own off;
# and the process has one allocation-failure handler, which the library's hook
# sets and a program sees with std::get_new_handler().
set(CMAKE_EXE_LINKER_FLAGS_INIT "-shared-libgcc")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-shared-libgcc")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-shared-libgcc")

include(${CMAKE_CURRENT_LIST_DIR}/runner.cmake)
