# Checks shared by the ctest scripts that run a Windows program under Wine (RunGTest.cmake,
# ConsumerTest.cmake, DemoTest.cmake).

# kq_wine_verdict(<name> <status> <stdout> <stderr>): fails unless the program exited with status 0 and
# neither Wine nor the teardown probe reported a fault. Wine reports an unhandled exception as
# "wine: Unhandled page fault on ..." and its debugger as "Unhandled exception: page fault on ...";
# an exception inside a DLL's detach is swallowed without a word, which the probe's line catches.
function(kq_wine_verdict name status out err)
  set(all "${out}\n${err}")
  if(all MATCHES "(wine: Unhandled [^\n]*|Unhandled exception[^\n]*|kqtest: fault [^\n]*)")
    message(FATAL_ERROR "${name}: ${CMAKE_MATCH_1}")
  endif()
  if(NOT status STREQUAL "0")
    message(FATAL_ERROR "${name} exited with status ${status}")
  endif()
endfunction()

# kq_wine_last_line(<name> <stdout> <line>): fails unless <line> is the last non-empty line printed.
function(kq_wine_last_line name out line)
  string(REPLACE "\r" "" out "${out}")
  string(STRIP "${out}" out)
  string(FIND "${out}" "\n" at REVERSE)
  math(EXPR at "${at} + 1")
  string(SUBSTRING "${out}" ${at} -1 last)
  if(NOT last STREQUAL line)
    message(FATAL_ERROR "${name}: the last line is \"${last}\", not \"${line}\": the program did not end normally")
  endif()
endfunction()
