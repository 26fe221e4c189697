# Shared part of the Linux cross toolchains; included by i686.cmake,
# aarch64.cmake and s390x.cmake after they set CMAKE_SYSTEM_PROCESSOR,
# QUARNBASE_LINUX_TRIPLE and QUARNBASE_RUNNER (runner.cmake).
#
# Debian's cross compilers (package g++-<triple>) build against the target's
# libraries in /usr/<triple>.
set(CMAKE_SYSTEM_NAME Linux)

set(CMAKE_C_COMPILER ${QUARNBASE_LINUX_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${QUARNBASE_LINUX_TRIPLE}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${QUARNBASE_LINUX_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

include(${CMAKE_CURRENT_LIST_DIR}/runner.cmake)
