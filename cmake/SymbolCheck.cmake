# Exported-symbol check: the symbols that the shared libraries export must match
# the lists committed in symbols/. After an intended interface change, rewrite
# the lists with `scripts/check-symbols.sh --update <build-dir>` and commit them.
# The test carries the label "symbols".
# Static libraries export nothing: no check.
if(QUARNBASE_LIBRARY_TYPE STREQUAL "SHARED" AND CMAKE_HOST_UNIX
   AND (CMAKE_SYSTEM_NAME STREQUAL "Linux" OR MINGW OR QUARNBASE_MSVC_ABI))
  find_program(QUARNBASE_BASH bash REQUIRED)
  add_test(NAME exported_symbols
      COMMAND ${QUARNBASE_BASH} ${PROJECT_SOURCE_DIR}/scripts/check-symbols.sh ${PROJECT_BINARY_DIR})
  set_tests_properties(exported_symbols PROPERTIES LABELS symbols)
endif()
