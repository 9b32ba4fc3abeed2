# Installs this build into a scratch prefix, builds the consumer project against the installed package
# with the same cross toolchain (plus the tests' teardown probe), and runs it under Wine. It passes when
# the consumer printed its fixed verdict line, then the probe's line last (every DLL finished its
# detach), exited 0 and no fault was reported.
# Variables: BUILD_DIR, SOURCE_DIR, WINE_RUN, WINEPREFIX.
include(${CMAKE_CURRENT_LIST_DIR}/WineVerdict.cmake)
set(work ${BUILD_DIR}/consumer-test)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}\n${err}")
  endif()
  message(STATUS "${out}")
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${work}/prefix)
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/consumer -B ${work}/build -G Ninja
    -DCMAKE_TOOLCHAIN_FILE=${SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake -Dkqmfc_DIR=${work}/prefix/lib/cmake/kqmfc
    -DKQ_TEARDOWN_PROBE=${SOURCE_DIR}/tests/support/teardown_probe.cpp)
run(${CMAKE_COMMAND} --build ${work}/build)
file(WRITE ${work}/messages.txt "7 \"seven\\n\"\n")
set(ENV{WINEPREFIX} ${WINEPREFIX})
execute_process(COMMAND ${WINE_RUN} ${work}/build/consumer.exe ${work}/messages.txt
  RESULT_VARIABLE status OUTPUT_VARIABLE out ECHO_OUTPUT_VARIABLE ERROR_VARIABLE err ECHO_ERROR_VARIABLE)
kq_wine_verdict(consumer "${status}" "${out}" "${err}")
if(NOT out MATCHES "consumer: all checks passed\r?\n")
  message(FATAL_ERROR "consumer: its verdict line \"consumer: all checks passed\" is missing")
endif()
kq_wine_last_line(consumer "${out}" "kqtest: teardown complete")
