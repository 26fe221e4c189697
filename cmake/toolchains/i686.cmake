# Cross toolchain: 32-bit (ILP32) x86 Linux with i686-linux-gnu-g++ (package
# g++-i686-linux-gnu); test programs run under qemu-i386.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUARNBASE_LINUX_TRIPLE i686-linux-gnu)
set(QUARNBASE_QEMU qemu-i386)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
