# Runs PROGRAM (through EMULATOR, a |-separated command, if given) and fails
# unless it exits with 0 and writes exactly EXPECTED_STDERR to standard error
# (line ends compared as \n; the notices of scripts/wine-run.sh left out).
# Its standard output is passed on.
string(REPLACE "|" ";" emulator "${EMULATOR}")
execute_process(COMMAND ${emulator} ${PROGRAM}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
message("${out}")
file(READ ${EXPECTED_STDERR} expected)
string(REPLACE "\r\n" "\n" err "${err}")
string(REGEX REPLACE "(^|\n)wine-run: [^\n]*\n" "\\1" err "${err}")
if(NOT err STREQUAL expected)
  message(FATAL_ERROR "standard error differs from ${EXPECTED_STDERR}; it was:\n[${err}]")
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} exited with ${status}")
endif()
