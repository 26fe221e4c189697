# ABI check (QUARNBASE_ABI_CHECK, on in the release preset): the test abi_check
# compares the shared libraries with the baseline in abi/ through
# scripts/check-abi.sh, which says how to update the baseline with the
# SOVERSION after an intended break. The baseline comes from g++ on Linux
# x86-64 with debug info; the test carries the label "abi".
if(NOT QUARNBASE_ABI_CHECK)
  return()
endif()
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU"
   OR NOT QUARNBASE_LIBRARY_TYPE STREQUAL "SHARED")
  message(FATAL_ERROR "QUARNBASE_ABI_CHECK needs shared libraries built by g++ on Linux")
endif()

# Debug info that names no path of this machine: sources are named relative to
# the tree, so that the libraries describe themselves alike wherever they are
# built, and an updated baseline differs only where the ABI does.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=)

find_program(QUARNBASE_BASH bash REQUIRED)
add_test(NAME abi_check
    COMMAND ${QUARNBASE_BASH} ${PROJECT_SOURCE_DIR}/scripts/check-abi.sh ${PROJECT_BINARY_DIR})
set_tests_properties(abi_check PROPERTIES LABELS abi)
