# `info --json -` against its schema: a recorded processor, then this machine,
# whose record must also agree with what the kernel says of it.
# Takes CLI, DUMP, SCHEMA, VALIDATOR, CHECKER, PYTHON and WORK_DIR.
execute_process(COMMAND ${CLI} --cpuid-file ${DUMP} info --json -
  COMMAND ${PYTHON} ${VALIDATOR} ${SCHEMA} -
  RESULTS_VARIABLE statuses ERROR_VARIABLE err)
if(NOT statuses STREQUAL "0;0")
  message(FATAL_ERROR "recorded processor: exit statuses ${statuses} (info;validation)\n${err}")
endif()

execute_process(COMMAND ${CLI} info --json - --no-clock
  RESULT_VARIABLE status OUTPUT_VARIABLE document ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "info --json exited with ${status}\n${err}")
endif()
file(WRITE ${WORK_DIR}/machine.json "${document}")
foreach(check IN ITEMS "${VALIDATOR};${SCHEMA}" "${CHECKER}")
  execute_process(COMMAND ${PYTHON} ${check} ${WORK_DIR}/machine.json
    RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "this machine's record fails ${check}:\n${err}")
  endif()
endforeach()
