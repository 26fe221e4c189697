# The library's layers: each folder of src/ is one object library, and the
# objects of all of them make up the one library quarnbase. README.md
# (Layout) draws the layers and the direction in which they may use each other.
#
# A layer sees only its own folder and the folders of the layers it names as
# dependencies, and internal headers are included by bare name
# ("Allocation.h"), so an include against the direction fails to compile.

# The public headers (include/quarnbase and the generated export header), for
# the layers that implement or use the exported classes.
add_library(quarnbase_public_headers INTERFACE)
target_include_directories(quarnbase_public_headers INTERFACE
    ${PROJECT_SOURCE_DIR}/include
    ${PROJECT_BINARY_DIR}/include)

include(CheckCXXCompilerFlag)
check_cxx_compiler_flag(-fno-semantic-interposition QUARNBASE_HAS_NO_INTERPOSITION)

# quarnbase_add_layer(<layer> SOURCES <file>... [DEPS <target>...])
#
# Builds the sources of the current folder as the object library
# quarnbase_<layer> and links its objects into quarnbase. DEPS names what the
# layer may use: lower layers (quarnbase_platform, ...), the public headers
# (quarnbase_public_headers) and basesup. The layer's own folder is on its
# include path and on that of every layer depending on it.
function(quarnbase_add_layer layer)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;DEPS")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_SOURCES)
    message(FATAL_ERROR "quarnbase_add_layer(${layer}): SOURCES <file>... [DEPS <target>...]")
  endif()
  set(target quarnbase_${layer})
  add_library(${target} OBJECT ${arg_SOURCES})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${arg_DEPS})
  # Compiled as part of the library: in a shared build the export macros
  # export (the generated header keys on quarnbase_EXPORTS, which CMake defines
  # only for the shared target's own sources), in a static one they expand to
  # nothing; the code is position-independent either way, so that a static
  # quarnbase can go into a client's shared library.
  target_compile_definitions(${target} PRIVATE quarnbase_EXPORTS)
  if(QUARNBASE_LIBRARY_TYPE STREQUAL "STATIC")
    target_compile_definitions(${target} PRIVATE QUARNBASE_STATIC_DEFINE)
  endif()
  if(QUARNBASE_NO_SIMD)
    target_compile_definitions(${target} PRIVATE QUARNBASE_NO_SIMD)
  endif()
  if(QUARNBASE_HARDENED)
    target_compile_definitions(${target} PRIVATE QUARNBASE_HARDENED)
  endif()
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  # Exported functions may be inlined into their callers in the same source
  # file: nobody may interpose them.
  if(QUARNBASE_HAS_NO_INTERPOSITION)
    target_compile_options(${target} PRIVATE -fno-semantic-interposition)
  endif()
  quarnbase_set_warnings(${target})
  # Build tree only: the installed package knows quarnbase alone.
  target_link_libraries(quarnbase PRIVATE $<BUILD_INTERFACE:${target}>)
endfunction()
