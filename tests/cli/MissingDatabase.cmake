# A program without its reference files beside it: --compare must stop with
# the message and exit status -1 (255) before any test runs.
set(lonely ${WORK_DIR}/lonely-cli)
file(REMOVE_RECURSE ${lonely})
file(MAKE_DIRECTORY ${lonely})
file(COPY ${CLI} DESTINATION ${lonely})
get_filename_component(name ${CLI} NAME)
execute_process(COMMAND ${lonely}/${name} run --tests 4 --compare
  WORKING_DIRECTORY ${lonely}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 255)
  message(FATAL_ERROR "exit status ${status}, expected 255\n${out}\n${err}")
endif()
if(NOT err MATCHES "Critical error: cannot find file database.dat \\(database1.dat\\)")
  message(FATAL_ERROR "no missing-file message:\n${err}")
endif()
if(err MATCHES "Now processing")
  message(FATAL_ERROR "a test ran before the missing file was reported:\n${err}")
endif()
