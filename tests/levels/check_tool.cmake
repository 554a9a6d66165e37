# Runs `tavrelo-level check` as a designer does: exit 0 over levels whose
# proofs hold, 1 with the fault named once a broken proof is among them.
execute_process(COMMAND ${TOOL} check ${LEVELS}/limits RESULT_VARIABLE status OUTPUT_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "check over proofs that hold exited ${status}:\n${output}")
endif()
execute_process(COMMAND ${TOOL} check ${LEVELS}/limits ${LEVELS}/broken RESULT_VARIABLE status OUTPUT_VARIABLE output)
if(NOT status EQUAL 1 OR NOT output MATCHES "BROKEN gap: proof dies: 1 fall")
  message(FATAL_ERROR "check with a broken proof exited ${status}:\n${output}")
endif()
