# ctest's command for the scripted demo: cmake -DEMULATOR=... -DEXE=kqdemo.exe -DOUT=<folder> -P DemoTest.cmake
# Runs the demo unattended, as tools/demo.sh does without a display, and passes when it exited 0 with no
# fault reported and left every screenshot, the saved output window text and the debugger transcript,
# none of them empty.
include(${CMAKE_CURRENT_LIST_DIR}/WineVerdict.cmake)
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${EMULATOR} ${EXE} --scripted ${OUT}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out ECHO_OUTPUT_VARIABLE
  ERROR_VARIABLE err ECHO_ERROR_VARIABLE)
kq_wine_verdict(kqdemo "${status}" "${out}" "${err}")
foreach(name demo-frame.png demo-output-window.png demo-input-dialog.png demo-critical-error.png
             output-window.txt debug-output.txt)
  if(NOT EXISTS ${OUT}/${name})
    message(FATAL_ERROR "kqdemo: ${name} is missing")
  endif()
  file(SIZE ${OUT}/${name} size)
  if(size EQUAL 0)
    message(FATAL_ERROR "kqdemo: ${name} is empty")
  endif()
endforeach()
