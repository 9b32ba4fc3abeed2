# ctest's command for one GoogleTest executable under Wine: cmake -DEMULATOR=... -DEXE=... -P RunGTest.cmake
# The test passes only when the program printed GoogleTest's summary with no failure, then completed its
# teardown (the probe's line, printed after every DLL of the build finished its process detach, is the
# last line), exited with status 0, and no fault was reported. A crash under Wine can end a program with
# status 0, and an exception inside a DLL's detach is swallowed: then the summary or the last line is
# missing.
include(${CMAKE_CURRENT_LIST_DIR}/WineVerdict.cmake)
execute_process(COMMAND ${EMULATOR} ${EXE}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out ECHO_OUTPUT_VARIABLE
  ERROR_VARIABLE err ECHO_ERROR_VARIABLE)
kq_wine_verdict(${EXE} "${status}" "${out}" "${err}")
if(NOT out MATCHES "\\[  PASSED  \\] [0-9]+ tests?\\.")
  message(FATAL_ERROR "${EXE} ended without GoogleTest's summary")
endif()
if(out MATCHES "\\[  FAILED  \\]")
  message(FATAL_ERROR "${EXE} reported failed tests")
endif()
kq_wine_last_line(${EXE} "${out}" "kqtest: teardown complete")
