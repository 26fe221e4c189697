# Cross toolchain: 64-bit ARM Linux with aarch64-linux-gnu-g++ (package
# g++-aarch64-linux-gnu); test programs run under qemu-aarch64.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(QUARNBASE_LINUX_TRIPLE aarch64-linux-gnu)
set(QUARNBASE_RUNNER qemu)
set(QUARNBASE_QEMU qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
