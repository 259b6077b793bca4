# Runs veltrane-cli (through LAUNCHER when given) with ARGS (arguments separated
# by |) and checks its exit status and, when GOLDEN is given, its standard output
# against that file.
# With REGENERATE set, writes the output to GOLDEN instead, for review in the diff.
# Files named in ABSENT (separated by |) must not be there afterwards, nor any
# temporary file of an output.
string(REPLACE "|" ";" ARGS "${ARGS}")
string(REPLACE "|" ";" LAUNCHER "${LAUNCHER}")
string(REPLACE "|" ";" ABSENT "${ABSENT}")
execute_process(
  COMMAND ${LAUNCHER} ${CLI} ${ARGS}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)

if(REGENERATE)
  file(WRITE ${GOLDEN} "${out}")
  message(STATUS "wrote ${GOLDEN}")
  return()
endif()

if(NOT status EQUAL EXPECT_STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${EXPECT_STATUS}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(EXPECT_STDERR AND NOT err MATCHES "${EXPECT_STDERR}")
  message(FATAL_ERROR "standard error does not match '${EXPECT_STDERR}':\n${err}")
endif()
if(EXPECT_STDOUT AND NOT out MATCHES "${EXPECT_STDOUT}")
  message(FATAL_ERROR "standard output does not match '${EXPECT_STDOUT}':\n${out}")
endif()
if(ABSENT)
  file(GLOB temporaries .veltrane-*)
  foreach(file IN LISTS ABSENT temporaries)
    if(EXISTS ${file})
      message(FATAL_ERROR "${file} is there, which it must not be")
    endif()
  endforeach()
endif()
if(GOLDEN)
  file(READ ${GOLDEN} expected)
  if(NOT out STREQUAL expected)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/actual-output.txt "${out}")
    execute_process(COMMAND diff -u ${GOLDEN} ${CMAKE_CURRENT_BINARY_DIR}/actual-output.txt)
    message(FATAL_ERROR "output differs from ${GOLDEN}; run the regen-golden target to review")
  endif()
endif()
