# Runs a one-test benchmark with --json and checks what it writes against the schema.
# MODE file: the JSON goes to WORK_DIR/run.json; the results stay on standard output.
# MODE stdout: "--json -"; standard output must hold the JSON and nothing else, so the
# results go to standard error.
# Takes CLI, DUMP, SCHEMA, VALIDATOR, PYTHON, WORK_DIR and MODE.
set(run ${CLI} --cpuid-file ${DUMP} run --tests 4)
set(validate ${PYTHON} ${VALIDATOR} ${SCHEMA})

if(MODE STREQUAL "file")
  set(json_file ${WORK_DIR}/run.json)
  file(REMOVE ${json_file})
  execute_process(COMMAND ${run} --json ${json_file}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT out MATCHES "MIPS Result")
    message(FATAL_ERROR "run exited with ${status}\nstdout:\n${out}\nstderr:\n${err}")
  endif()
  execute_process(COMMAND ${validate} ${json_file} RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${json_file} does not match the schema:\n${err}")
  endif()
else()
  execute_process(COMMAND ${run} --json - COMMAND ${validate} -
    RESULTS_VARIABLE statuses ERROR_VARIABLE err)
  if(NOT statuses STREQUAL "0;0")
    message(FATAL_ERROR "exit statuses ${statuses} (run;validation)\nstderr:\n${err}")
  endif()
  if(NOT err MATCHES "MIPS Result")
    message(FATAL_ERROR "the results did not go to standard error:\n${err}")
  endif()
endif()
