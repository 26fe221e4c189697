# Cross toolchain: big-endian 64-bit IBM Z Linux with s390x-linux-gnu-g++
# (package g++-s390x-linux-gnu); test programs run under qemu-s390x.
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(QUARNBASE_LINUX_TRIPLE s390x-linux-gnu)
set(QUARNBASE_RUNNER qemu)
set(QUARNBASE_QEMU qemu-s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
