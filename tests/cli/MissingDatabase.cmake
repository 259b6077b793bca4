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
if(NOT err MATCHES "Critical error: cannot find file database.dat \\(database1.dat\\)\ndatabase1.dat is in none of the folders searched: the current folder, ")
  message(FATAL_ERROR "no missing-file message:\n${err}")
endif()
if(err MATCHES "Now processing")
  message(FATAL_ERROR "a test ran before the missing file was reported:\n${err}")
endif()

# A reference file far too large for a list of machines: the same message,
# with the reason on its own line.
string(REPEAT "x" 1048576 megabyte)
file(WRITE ${lonely}/database1.dat "")
foreach(i RANGE 4)
  file(APPEND ${lonely}/database1.dat "${megabyte}")
endforeach()
execute_process(COMMAND ${lonely}/${name} run --tests 4 --compare
  WORKING_DIRECTORY ${lonely}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 255 OR NOT err MATCHES
   "cannot find file database.dat \\(database1.dat\\)\ndatabase1.dat: the file is larger than")
  message(FATAL_ERROR "exit status ${status}; no size message:\n${err}")
endif()
