# Installs this build into a scratch prefix, builds the consumer project against the installed package
# with the same cross toolchain, and runs it under Wine.
# Variables: BUILD_DIR, SOURCE_DIR, WINE_RUN, WINEPREFIX.
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
    -DCMAKE_TOOLCHAIN_FILE=${SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake -Dkqmfc_DIR=${work}/prefix/lib/cmake/kqmfc)
run(${CMAKE_COMMAND} --build ${work}/build)
file(WRITE ${work}/messages.txt "7 \"seven\\n\"\n")
set(ENV{WINEPREFIX} ${WINEPREFIX})
run(${WINE_RUN} ${work}/build/consumer.exe ${work}/messages.txt)
