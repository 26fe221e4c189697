# Shared part of the msvc64 and msvc32 toolchains; included after they set
# QUARN_MSVC_ARCH (x64 or x86), QUARN_MSVC_TRIPLE and, where the target needs
# them, QUARN_MSVC_ARCH_FLAGS.
#
# Builds Windows DLLs and programs with the MSVC ABI (MSVC name mangling, class
# layout, exceptions and runtime DLLs) without the MSVC toolchain: clang-cl 14
# compiles against the C++ library headers of libc++ 14 in MSVC mode and the C
# runtime and Windows headers of Wine (libwine-dev); lld-link 14 links against
# import libraries of the runtime DLLs (Imports.cmake). What the MSVC toolchain
# adds itself is in msvc-runtime/ at the top of the tree: headers the C++
# library expects (include/) and the runtime pieces each module carries
# (runtime/, linked in by Project.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 10)
set(QUARNBASE_MSVC_ABI ON)

set(CMAKE_CXX_COMPILER clang-cl-14)
set(CMAKE_CXX_COMPILER_TARGET ${QUARN_MSVC_TRIPLE})
set(CMAKE_LINKER lld-link-14)
set(CMAKE_AR llvm-lib-14)
set(CMAKE_RC_COMPILER llvm-rc-14)
set(CMAKE_MT llvm-mt-14)
# Compiler checks compile only: linking needs the runtime this project builds.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(QUARN_MSVC_ABI_DIR ${CMAKE_CURRENT_LIST_DIR})
get_filename_component(QUARN_MSVC_RUNTIME_DIR ${CMAKE_CURRENT_LIST_DIR}/../../msvc-runtime ABSOLUTE)
# Header search order: the C++ library, then msvc-runtime/'s additions to the C
# runtime headers (they include the originals), then the C runtime and Windows.
# No default libraries are named in objects (/Zl, no auto-linking of the C++
# library): each module links exactly the import libraries of Imports.cmake.
# /GS- : stack cookies would need the MSVC static runtime's checks.
set(CMAKE_CXX_FLAGS_INIT
    "${QUARN_MSVC_ARCH_FLAGS} /GS- /Zl /X /clang:-nostdinc++ -D_LIBCPP_NO_AUTO_LINK \
-D_LIBCPP_DISABLE_VISIBILITY_ANNOTATIONS -D_LIBCPP_DISABLE_EXTERN_TEMPLATE \
-imsvc /usr/lib/llvm-14/include/c++/v1 -imsvc ${QUARN_MSVC_RUNTIME_DIR}/include \
-imsvc /usr/include/wine/wine/msvcrt -imsvc /usr/include/wine/wine/windows")
# The DLL runtime (/MD) in every configuration: the debug runtime DLLs are not
# redistributable, and Wine has none.
set(CMAKE_MSVC_RUNTIME_LIBRARY MultiThreadedDLL)
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "/NODEFAULTLIB")
endforeach()

set(CMAKE_PROJECT_INCLUDE ${QUARN_MSVC_ABI_DIR}/Project.cmake)

# DLLs and programs go to one directory, so that a program finds the DLLs.
if(NOT DEFINED CMAKE_RUNTIME_OUTPUT_DIRECTORY)
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()

# The example programs use standard containers whose compiled parts (in the C++
# library's own DLL) this toolchain does not have; the check program stands in.
set(QUARNBASE_BUILD_EXAMPLES OFF CACHE BOOL "Build the example programs")
