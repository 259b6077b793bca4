# The one full-size scaling run: `run --threads all --json -` in a scratch
# data folder. The document matches its schema and holds one thread, then
# one per processor the program may run on, each thread's figures and the
# efficiencies; the history lists the run under its own id and another
# SQLite reader finds its row. Takes CLI, SCHEMA, VALIDATOR, PYTHON and WORK_DIR.
include(${CMAKE_CURRENT_LIST_DIR}/ValidateJson.cmake)
set(home ${WORK_DIR}/scaling-home)
file(REMOVE_RECURSE ${home})
file(MAKE_DIRECTORY ${home})
set(ENV{XDG_DATA_HOME} ${home}/data)
set(json_file ${home}/scaling.json)

execute_process(COMMAND nproc OUTPUT_VARIABLE allowed OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CLI} run --threads all --json -
  RESULT_VARIABLE status OUTPUT_FILE ${json_file} ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "run --threads all exited with ${status}:\n${err}")
endif()
if(NOT err MATCHES "\n1 thread\n  1 INTEGER BENCHMARK .*Multi-core score: [1-9][0-9]*\n")
  message(FATAL_ERROR "no progress or tables on standard error:\n${err}")
endif()
validate_json(${json_file})

set(check [=[
import json, sys
doc = json.load(open(sys.argv[1]))
allowed = int(sys.argv[2])
steps = doc["scaling"]["steps"]
expected = [1, allowed] if allowed > 1 else [1]
assert [s["threads"] for s in steps] == expected, [s["threads"] for s in steps]
assert doc["scaling"]["plan"]["threads_asked"] == "all"
for step in steps:
    assert len(step["per_thread"]) == step["threads"]
    for thread in step["per_thread"]:
        assert all(thread["figures"][k] > 0 for k in step["efficiency"]), thread["figures"]
        assert thread["processor"] is None
    assert step["multi_core_score"] > 0
    for key, value in step["sums"].items():
        assert abs(value - sum(t["figures"][key] for t in step["per_thread"])) <= 0.01 * value + 1, key
if allowed > 1:
    assert all(v is not None and v > 0 for v in steps[1]["efficiency"].values()), steps[1]["efficiency"]
]=])
execute_process(COMMAND ${PYTHON} -c "${check}" ${json_file} ${allowed}
  RESULT_VARIABLE status ERROR_VARIABLE problems)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the document's figures (${allowed} processors):\n${problems}")
endif()

execute_process(COMMAND ${CLI} history list OUTPUT_VARIABLE out RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT out MATCHES "\nScaling runs [^\n]*\n[^\n]*\nm1 +20[0-9-]+ [0-9:]+ .* ${allowed}  [1-9][0-9]*\n")
  message(FATAL_ERROR "history list has no scaling run m1:\n${out}")
endif()
execute_process(
  COMMAND ${PYTHON} -c "import sqlite3,sys; c=sqlite3.connect(sys.argv[1]); print(*c.execute('select id, origin, max_threads, trusted from scaling_runs'), *c.execute('select count(*) from runs'))" ${home}/data/veltrane/results.sqlite
  OUTPUT_VARIABLE rows)
if(NOT rows STREQUAL "(1, 'cli', ${allowed}, 1) (0,)\n")
  message(FATAL_ERROR "another reader finds: ${rows}")
endif()
