# Shared part of the Linux cross toolchains; included by i686.cmake,
# aarch64.cmake and s390x.cmake after they set CMAKE_SYSTEM_PROCESSOR,
# QUARNBASE_LINUX_TRIPLE and QUARNBASE_QEMU.
#
# Debian's cross compilers (package g++-<triple>) build against the target's
# libraries in /usr/<triple>. ctest runs the programs under qemu-user, which
# loads the target's dynamic linker and libraries from that directory (-L).
# The library path makes that dynamic linker take the C library from there
# too: it reads the host's ld.so.cache, which may name the host's own 32-bit C
# library (package libc6-i386), and that one does not fit the cross dynamic
# linker (threads hang on creation).
set(CMAKE_SYSTEM_NAME Linux)

set(CMAKE_C_COMPILER ${QUARNBASE_LINUX_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${QUARNBASE_LINUX_TRIPLE}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${QUARNBASE_LINUX_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${QUARNBASE_QEMU} -L /usr/${QUARNBASE_LINUX_TRIPLE}
    -E LD_LIBRARY_PATH=/lib)
