# Runs test 4 N times with "--json -" (plus ARGS) and checks the record against
# the schema and, with check_repeat.py, its statistics and the printed medians.
# Takes CLI, N, ARGS (separated by |), UNTIL_STABLE (0 or 1), SCHEMA, VALIDATOR,
# CHECKER, PYTHON and WORK_DIR.
string(REPLACE "|" ";" ARGS "${ARGS}")
set(json ${WORK_DIR}/repeat-${N}-${UNTIL_STABLE}.json)
set(text ${WORK_DIR}/repeat-${N}-${UNTIL_STABLE}.txt)
execute_process(COMMAND ${CLI} run --tests 4 --repeat ${N} ${ARGS} --json -
  OUTPUT_FILE ${json} ERROR_FILE ${text} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(READ ${text} err)
  message(FATAL_ERROR "run exited with ${status}:\n${err}")
endif()
foreach(check "${VALIDATOR};${SCHEMA};${json}" "${CHECKER};${json};${text};${N};${UNTIL_STABLE}")
  execute_process(COMMAND ${PYTHON} ${check} RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${check} failed:\n${err}")
  endif()
endforeach()
