# Runs a table generator and fails when its output differs from the committed file.
#   cmake -DGENERATOR=<exe> -DCOMMITTED=<file> -DSCRATCH=<file> -DMODE=STDOUT|ARGUMENT -P ...
if(MODE STREQUAL "STDOUT")
  execute_process(COMMAND ${GENERATOR} OUTPUT_FILE ${SCRATCH} RESULT_VARIABLE result)
else()
  execute_process(COMMAND ${GENERATOR} ${SCRATCH} RESULT_VARIABLE result)
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SCRATCH} ${COMMITTED}
                RESULT_VARIABLE different)
if(different)
  message(FATAL_ERROR "${COMMITTED} is not what ${GENERATOR} writes: regenerate and commit it")
endif()
