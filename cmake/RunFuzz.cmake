# ctest's command for one libFuzzer run: cmake -DFUZZER=... -DARGS="arg|arg|..." -P RunFuzz.cmake
# Runs the fuzzer with its final statistics on and prints only those figures (executions, their rate, new
# inputs, peak memory), so that the test log shows each target's execution count without libFuzzer's
# progress lines; on a failure the whole output is printed. Fails when the fuzzer failed or printed no
# execution count.
string(REPLACE "|" ";" args "${ARGS}")
get_filename_component(name "${FUZZER}" NAME)
execute_process(COMMAND "${FUZZER}" ${args} -print_final_stats=1
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
  message("${out}")
  message(FATAL_ERROR "${name} failed: ${status}")
endif()
if(NOT out MATCHES "stat::number_of_executed_units: *([0-9]+)")
  message("${out}")
  message(FATAL_ERROR "${name} printed no execution count")
endif()
set(executions ${CMAKE_MATCH_1})
string(REGEX MATCHALL "(Done [0-9]+ runs in [0-9]+ second\\(s\\)|stat::[a-z_]+: *[0-9]+)" figures "${out}")
list(JOIN figures "\n  " figures)
message("${name}: ${executions} executions\n  ${figures}")
