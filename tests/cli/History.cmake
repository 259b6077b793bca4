# The results history end to end: two runs at once in one data folder, the
# list, a comparison, a reference line exported and imported into an empty
# history, the rows read by the sqlite3 program, then a damaged history and
# a data folder that takes no files: the run still finishes and says once why
# its result was not kept.
set(home ${WORK_DIR}/history-home)
file(REMOVE_RECURSE ${home})
file(MAKE_DIRECTORY ${home})
set(ENV{XDG_DATA_HOME} ${home}/data)

function(cli expect_status)
  execute_process(COMMAND ${CLI} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL expect_status)
    message(FATAL_ERROR "${ARGN}: exit ${status}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect text regex what)
  if(NOT text MATCHES "${regex}")
    message(FATAL_ERROR "${what} does not match '${regex}':\n${text}")
  endif()
endfunction()

function(expect_once text fragment what)
  string(REGEX MATCHALL "${fragment}" found "${text}")
  list(LENGTH found count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "${what} says '${fragment}' ${count} times:\n${text}")
  endif()
endfunction()

# Two programs at once: the commands of one execute_process run side by side,
# the first one's output kept out of the second one's input.
execute_process(
  COMMAND sh -c "\"$0\" run --tests 4 > /dev/null" ${CLI}
  COMMAND ${CLI} run --tests 4
  RESULTS_VARIABLE statuses OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT statuses STREQUAL "0;0")
  message(FATAL_ERROR "two runs at once: ${statuses}\n${err}")
endif()

cli(0 history list)
expect("${out}" "\n1 +20[0-9-]+ [0-9:]+ .* standard +- .* [1-9][0-9]+ .*\n2 +20" "history list")
cli(0 history compare 1 2)
expect("${out}" "\nMIPS +[1-9][0-9]+ +[1-9][0-9]+ +[0-9]+\\.[0-9][0-9][0-9]\n" "history compare")
cli(0 history export 1 --format line)
file(WRITE ${home}/line.dat "${out}")
cli(0 history import ${home}/line.dat --db ${home}/empty.sqlite)
expect("${out}" "^Imported run 1: .* MHz \\(in the comparison lists\\)\n$" "history import")
cli(0 history list --db ${home}/empty.sqlite)
expect("${out}" "\n1\\* +20" "the imported run")
cli(1 history show 7 --db ${home}/empty.sqlite)
expect("${err}" "no run 7 is kept" "a missing run")

# The sqlite3 program reads the same rows, while the history is in WAL mode.
find_program(SQLITE3 sqlite3 REQUIRED)
execute_process(
  COMMAND ${SQLITE3} ${home}/data/veltrane/results.sqlite
          "select id, origin, suite from runs order by id"
  OUTPUT_VARIABLE rows)
expect("${rows}" "^1\\|cli\\|3\n2\\|cli\\|3\n$" "the sqlite3 program")

# Damaged: set aside, a fresh history takes the run.
string(RANDOM LENGTH 2048 garbage)
file(WRITE ${home}/data/veltrane/results.sqlite "${garbage}")
file(REMOVE ${home}/data/veltrane/results.sqlite-wal ${home}/data/veltrane/results.sqlite-shm)
cli(0 run --tests 4)
expect("${out}" "MIPS Result +[1-9].*Kept in the results history as run 1 " "a run after damage")
expect_once("${err}" "was damaged" "a run after damage")

# A data folder that takes no files: the figures, and one sentence why.
set(ENV{XDG_DATA_HOME} /proc/veltrane-test-data)
cli(0 run --tests 4)
expect("${out}" "MIPS Result +[1-9]" "a run with no history")
expect_once("${err}" "cannot be kept" "a run with no history")
expect_once("${err}" "This result was not kept" "a run with no history")
