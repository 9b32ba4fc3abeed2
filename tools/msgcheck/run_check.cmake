# Runs msgcheck on every sample FILE.msg under SAMPLES and checks its standard output word for word against
# FILE.expected (CR LF line ends of Windows programs are compared as LF) and its exit status: 0 when the
# expected report has no problem, else 1. Then the command line's cases.
file(GLOB inputs RELATIVE ${SAMPLES} ${SAMPLES}/*.msg)
foreach(input ${inputs})
  execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${input} WORKING_DIRECTORY ${SAMPLES}
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  string(REPLACE "\r\n" "\n" output "${output}")
  string(REGEX REPLACE "\\.msg$" ".expected" expected_file ${SAMPLES}/${input})
  file(READ ${expected_file} expected)
  string(REGEX MATCH ", 0 problems\n$" clean "${expected}")
  set(want 1)
  if(clean)
    set(want 0)
  endif()
  if(NOT "${status}" STREQUAL "${want}" OR NOT output STREQUAL expected)
    message(SEND_ERROR "msgcheck ${input}: status ${status}, expected ${want}\n--- got:\n${output}${errors}--- expected:\n${expected}")
  endif()
endforeach()

# msgcheck ARGS...: its exit status must be `status`, and its standard output and error must match the
# regular expressions `out` and `err`.
function(check_command status out err)
  execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGN} WORKING_DIRECTORY ${SAMPLES}
                  RESULT_VARIABLE got OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  string(REPLACE "\r\n" "\n" output "${output}")
  string(REPLACE "\r\n" "\n" errors "${errors}")
  if(NOT "${got}" STREQUAL "${status}" OR NOT output MATCHES "${out}" OR NOT errors MATCHES "${err}")
    message(SEND_ERROR "msgcheck ${ARGN}: status ${got}, expected ${status}\n--- output:\n${output}--- errors:\n${errors}")
  endif()
endfunction()
check_command(0 "^usage: msgcheck FILE" "^$" --help)
check_command(2 "^$" "^usage: msgcheck FILE")
# An error does not stop the files after it from being reported.
check_command(2 "^clean.msg: 3 records, 3 stored under 3 numbers, 0 problems\n$"
              "^\\.: error: is a directory, not a message file\n$" . clean.msg)
check_command(2 "^$" "^no-such-file.msg: error: cannot open the file\n$" no-such-file.msg)
if(NOT EMULATOR)
  # Reading a process's memory at address 0 fails after the file opened.
  check_command(2 "^$" "^/proc/self/mem: error: read error after 0 records; the file is not checked\n$"
                /proc/self/mem)
endif()
