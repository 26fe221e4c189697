# Script mode: builds tests/consumer/subproject, which takes the source tree in
# as a subproject, runs its program and installs it.
#
#   cmake -DWORK_DIR=... -DPROJECT_DIR=<tests/consumer> -DSOURCE_DIR=<source tree>
#         -DCXX=... -DGENERATOR=... -DVERSION=<x.y.z> [-DCXX_FLAGS=... -DLINK_FLAGS=...]
#         -P SubprojectCheck.cmake
#
# Two parents: one with add_subdirectory and shared libraries, one with
# FetchContent from a .tar.gz of the tree (what a release archive holds) and
# BUILD_SHARED_LIBS=OFF. Each installs its own program and nothing of quarnbase.
include(${CMAKE_CURRENT_LIST_DIR}/Common.cmake)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

# The archive: the source tree without build trees and version control.
file(GLOB entries RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
list(REMOVE_ITEM entries build .git .cache)
set(archive ${WORK_DIR}/quarnbase-src.tar.gz)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar czf ${archive} -- ${entries}
    WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not archive ${SOURCE_DIR}")
endif()
file(SHA256 ${archive} archive_sha256)

foreach(parent add_subdirectory FetchContent)
  set(build ${WORK_DIR}/${parent})
  if(parent STREQUAL "FetchContent")
    set(source_args -DQUARNBASE_ARCHIVE=${archive} -DQUARNBASE_ARCHIVE_SHA256=${archive_sha256}
                    -DBUILD_SHARED_LIBS=OFF)
  else()
    set(source_args -DQUARNBASE_SOURCE_DIR=${SOURCE_DIR})
  endif()
  run(${CMAKE_COMMAND} -S ${PROJECT_DIR}/subproject -B ${build} -G ${GENERATOR} ${source_args}
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=${CXX}
      "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}"
      "-DCMAKE_SHARED_LINKER_FLAGS=${LINK_FLAGS}")
  run(${CMAKE_COMMAND} --build ${build} --target consumer)
  run(${build}/consumer)
  expect_greeting("${parent} consumer")

  run(${CMAKE_COMMAND} --install ${build} --prefix ${WORK_DIR}/${parent}-prefix)
  file(GLOB_RECURSE installed RELATIVE ${WORK_DIR}/${parent}-prefix ${WORK_DIR}/${parent}-prefix/*)
  if(NOT installed STREQUAL "bin/consumer")
    message(FATAL_ERROR "the ${parent} parent installed more than its program: ${installed}")
  endif()
endforeach()
