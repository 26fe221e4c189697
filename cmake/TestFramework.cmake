# GoogleTest for the test programs: the host's package, or in cross builds the
# sources, since the host's libraries do not fit the target. Included from the
# top directory, so that the GTest:: targets are seen everywhere.
set(QUARNBASE_TEST_COMPILE_OPTIONS "" CACHE STRING
    "Extra compile options for the test programs and fuzz replays (not the library)")

if(CMAKE_CROSSCOMPILING)
  set(QUARNBASE_GOOGLETEST_SOURCE_DIR /usr/src/googletest
      CACHE PATH "GoogleTest sources for cross builds")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${QUARNBASE_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest
                   EXCLUDE_FROM_ALL SYSTEM)
  foreach(lib gtest gtest_main gmock gmock_main)
    # GoogleTest is not under test: a sanitizer there only slows the build.
    target_compile_options(${lib} PRIVATE -fno-sanitize=all)
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
else()
  find_package(GTest REQUIRED)
endif()
