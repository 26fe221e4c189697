# Helpers of the consumer checks (script mode).

# run(<command>...): runs the command; fails the check with its output if it
# fails. Leaves its standard output in last_output.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

# expect_greeting(<what>): the consumer program's output, as main.cpp prints it.
function(expect_greeting what)
  if(NOT last_output MATCHES "consumer: hello, world \\(12\\), quarnbase ${VERSION}\n")
    message(FATAL_ERROR "unexpected output from the ${what}: ${last_output}")
  endif()
endfunction()
