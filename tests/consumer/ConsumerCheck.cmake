# Script mode: builds and runs tests/consumer/project against an installed tree.
#
#   cmake -DWORK_DIR=... -DPROJECT_DIR=<tests/consumer> -DCXX=... -DGENERATOR=...
#         -DVERSION=<x.y.z> -DLIBRARY_TYPE=SHARED|STATIC [-DHARDENED=ON]
#         (-DBUILD_DIR=<build tree to install> | -DPREFIX=<installed tree>)
#         [-DCXX_FLAGS=... -DLINK_FLAGS=...]
#         [-DTOOLCHAIN_FILE=... -DEMULATOR=<a|separated|command> | -DNO_RUN=<reason>]
#         -P ConsumerCheck.cmake
#
# With BUILD_DIR the build tree is first installed into WORK_DIR/prefix; PREFIX
# names a tree installed otherwise (an unpacked package). A cross build (MinGW)
# gives its toolchain file and the command that runs its programs, which find
# the installed DLLs through WINEPATH; NO_RUN builds and links the clients
# without running them, where this machine cannot start them.
include(${CMAKE_CURRENT_LIST_DIR}/Common.cmake)

file(REMOVE_RECURSE ${WORK_DIR})
if(DEFINED BUILD_DIR)
  set(prefix ${WORK_DIR}/prefix)
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
else()
  set(prefix ${PREFIX})
endif()

# run_client(<program> <what>): runs a client where this machine can, and
# checks its greeting.
string(REPLACE "|" ";" emulator "${EMULATOR}")
function(run_client program what)
  if(DEFINED NO_RUN)
    message(STATUS "${what}: built and linked, not run: ${NO_RUN}")
    return()
  endif()
  run(${CMAKE_COMMAND} -E env WINEPATH=${prefix}/bin LD_LIBRARY_PATH=${libdir}
      ${emulator} ${program})
  expect_greeting("${what}")
endfunction()

# 1. find_package(quarnbase CONFIG REQUIRED) from a separate project. A cross
# toolchain searches only its own root: quarnbase_DIR points at the package.
set(toolchain_args)
set(exe "")
if(DEFINED TOOLCHAIN_FILE)
  set(exe .exe)
  set(toolchain_args -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_FILE} -Dquarnbase_DIR=${prefix}/lib/cmake/quarnbase)
else()
  set(toolchain_args -DCMAKE_CXX_COMPILER=${CXX})
endif()
set(libdir ${prefix}/lib)
run(${CMAKE_COMMAND} -S ${PROJECT_DIR}/project -B ${WORK_DIR}/cmake-build -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} ${toolchain_args}
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-build)
file(GLOB_RECURSE cmake_client ${WORK_DIR}/cmake-build/consumer ${WORK_DIR}/cmake-build/consumer.exe)
run_client(${cmake_client} "CMake consumer")

# A hardened library makes its clients check too, through the target's compile
# definition (and pkg-config's Cflags, below): an index past the end stops the
# consumer with the message.
if(HARDENED)
  execute_process(COMMAND ${WORK_DIR}/cmake-build/out_of_range
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(rc EQUAL 0 OR NOT err MATCHES "DblArrayC::ElementAt: index out of range: 1 \\(0-0 allowed\\)\n")
    message(FATAL_ERROR "out_of_range did not stop with the message (${rc}): ${err}")
  endif()
endif()

# 2. pkg-config --cflags --libs quarnbase; --static for a static library, which
# brings the libraries it uses.
find_program(PKG_CONFIG pkg-config REQUIRED)
file(GLOB_RECURSE pc_files ${prefix}/quarnbase.pc)
list(GET pc_files 0 pc_file)
get_filename_component(pc_dir ${pc_file} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
set(ENV{PKG_CONFIG_LIBDIR} ${pc_dir})
set(pc_static)
if(LIBRARY_TYPE STREQUAL "STATIC")
  set(pc_static --static)
endif()
run(${PKG_CONFIG} ${pc_static} --cflags --libs quarnbase)
string(STRIP "${last_output}" pc_flags)
if(HARDENED AND NOT pc_flags MATCHES "-DQUARNBASE_HARDENED")
  message(FATAL_ERROR "pkg-config's flags lack -DQUARNBASE_HARDENED: ${pc_flags}")
endif()
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
separate_arguments(extra_flags UNIX_COMMAND "${CXX_FLAGS} ${LINK_FLAGS}")
run(${CXX} -std=c++17 ${extra_flags} ${PROJECT_DIR}/project/main.cpp ${pc_flags}
    -o ${WORK_DIR}/pc-consumer${exe})
get_filename_component(libdir ${pc_dir} DIRECTORY)
run_client(${WORK_DIR}/pc-consumer${exe} "pkg-config consumer")

# A static library must leave no dependency on a shared one behind, and its
# load hook must be linked into a client that uses no string (the anchor is
# defined in the hook's object file).
if(LIBRARY_TYPE STREQUAL "STATIC" AND NOT DEFINED TOOLCHAIN_FILE)
  find_program(READELF readelf REQUIRED)
  foreach(program ${WORK_DIR}/cmake-build/consumer ${WORK_DIR}/pc-consumer)
    run(${READELF} -d ${program})
    if(last_output MATCHES "lib(quarnbase|basesup)\\.so")
      message(FATAL_ERROR "${program} needs a shared quarnbase or basesup:\n${last_output}")
    endif()
  endforeach()
  run(${CXX} -std=c++17 ${extra_flags} ${PROJECT_DIR}/project/arrays_only.cpp ${pc_flags}
      -o ${WORK_DIR}/pc-arrays-only)
  run(${READELF} -s -W ${WORK_DIR}/pc-arrays-only)
  if(NOT last_output MATCHES "quarnbase_load_hook_anchor")
    message(FATAL_ERROR "the load hook is missing from a client that uses no string")
  endif()
endif()
