# validate_json(FILE): fails the script unless FILE matches ${SCHEMA}, checked
# by ${VALIDATOR} under ${PYTHON}.
function(validate_json file)
  execute_process(COMMAND ${PYTHON} ${VALIDATOR} ${SCHEMA} ${file}
    RESULT_VARIABLE status ERROR_VARIABLE problems)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${file} does not match the schema:\n${problems}")
  endif()
endfunction()
