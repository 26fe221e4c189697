# Script mode: cmake -DBUILD_DIR=... -DWORK_DIR=... -DPROJECT_DIR=... -P ConsumerCheck.cmake
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# 1. find_package(quarnbase CONFIG REQUIRED) from a separate project.
run(${CMAKE_COMMAND} -S ${PROJECT_DIR} -B ${WORK_DIR}/cmake-build -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX}
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-build)
run(${WORK_DIR}/cmake-build/consumer)
if(NOT last_output MATCHES "consumer: hello, world \\(12\\)")
  message(FATAL_ERROR "unexpected output from the CMake consumer: ${last_output}")
endif()

# 2. pkg-config --cflags --libs quarnbase.
find_program(PKG_CONFIG pkg-config REQUIRED)
set(ENV{PKG_CONFIG_PATH} "")
file(GLOB_RECURSE pc_files ${prefix}/quarnbase.pc)
list(GET pc_files 0 pc_file)
get_filename_component(pc_dir ${pc_file} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
run(${PKG_CONFIG} --cflags --libs quarnbase)
string(STRIP "${last_output}" pc_flags)
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
separate_arguments(extra_flags UNIX_COMMAND "${CXX_FLAGS} ${LINK_FLAGS}")
run(${CXX} -std=c++17 ${extra_flags} ${PROJECT_DIR}/main.cpp ${pc_flags}
    -o ${WORK_DIR}/pc-consumer)
run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${prefix}/lib ${WORK_DIR}/pc-consumer)
if(NOT last_output MATCHES "consumer: hello, world \\(12\\)")
  message(FATAL_ERROR "unexpected output from the pkg-config consumer: ${last_output}")
endif()
