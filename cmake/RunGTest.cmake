# ctest's command for one GoogleTest executable under Wine: cmake -DEMULATOR=... -DEXE=... -P RunGTest.cmake
# The test passes only when the program exits with status 0 and prints GoogleTest's summary with no
# failure: a crash under Wine can end the program with status 0, and then the summary is missing.
execute_process(COMMAND ${EMULATOR} ${EXE}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out ECHO_OUTPUT_VARIABLE
  ERROR_VARIABLE err ECHO_ERROR_VARIABLE)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "${EXE} exited with status ${status}")
endif()
if(NOT out MATCHES "\\[  PASSED  \\] [0-9]+ tests?\\.")
  message(FATAL_ERROR "${EXE} ended without GoogleTest's summary")
endif()
if(out MATCHES "\\[  FAILED  \\]")
  message(FATAL_ERROR "${EXE} reported failed tests")
endif()
