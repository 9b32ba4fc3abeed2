# Runs msgcheck on every sample FILE.msg under SAMPLES and checks its standard output word for word against
# FILE.expected (CR LF line ends of Windows programs are compared as LF) and its exit status: 0 when the
# expected report has no problem, else 1. A missing file must give status 2.
file(GLOB inputs RELATIVE ${SAMPLES} ${SAMPLES}/*.msg)
foreach(input ${inputs} no-such-file.msg)
  execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${input} WORKING_DIRECTORY ${SAMPLES}
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  string(REPLACE "\r\n" "\n" output "${output}")
  string(REGEX REPLACE "\\.msg$" ".expected" expected_file ${SAMPLES}/${input})
  set(expected "")
  set(want 2)
  if(EXISTS ${expected_file})
    file(READ ${expected_file} expected)
    string(REGEX MATCH ", 0 problems\n$" clean "${expected}")
    set(want 1)
    if(clean)
      set(want 0)
    endif()
  endif()
  if(NOT "${status}" STREQUAL "${want}" OR NOT output STREQUAL expected)
    message(SEND_ERROR "msgcheck ${input}: status ${status}, expected ${want}\n--- got:\n${output}${errors}--- expected:\n${expected}")
  endif()
endforeach()
