# Cross toolchain: 32-bit (ILP32) x86 Linux with i686-linux-gnu-g++ (package
# g++-i686-linux-gnu); test programs run natively where the machine starts
# 32-bit programs, else under qemu-i386.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUARNBASE_LINUX_TRIPLE i686-linux-gnu)
set(QUARNBASE_RUNNER i686-linux)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
