# Fails when groff, with every warning on, says anything about the man page
# PAGE. Run with cmake -P.
execute_process(COMMAND ${GROFF} -ww -z -man ${PAGE}
  RESULT_VARIABLE status ERROR_VARIABLE warnings OUTPUT_VARIABLE output)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "" OR NOT output STREQUAL "")
  message(FATAL_ERROR "groff on ${PAGE}: ${status}\n${warnings}${output}")
endif()
