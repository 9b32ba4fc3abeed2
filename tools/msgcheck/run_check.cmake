# Runs msgcheck on INPUT and checks its exit status (STATUS) and, when EXPECTED is given, its standard
# output word for word (CR LF line ends of Windows programs are compared as LF).
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${INPUT}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
string(REPLACE "\r\n" "\n" output "${output}")
if(NOT "${status}" STREQUAL "${STATUS}")
  message(FATAL_ERROR "msgcheck ${INPUT}: exit status ${status}, expected ${STATUS}\n${output}${errors}")
endif()
if(DEFINED EXPECTED)
  file(READ ${EXPECTED} expected)
  if(NOT output STREQUAL expected)
    message(FATAL_ERROR "msgcheck ${INPUT}: output differs from ${EXPECTED}\n--- got:\n${output}--- expected:\n${expected}")
  endif()
endif()
