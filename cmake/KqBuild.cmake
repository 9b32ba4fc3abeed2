# Build helpers shared by every folder.

# Warnings as errors and, for the native presets, the sanitizers (ASan + UBSan, or ThreadSanitizer alone:
# the two cannot share a process). Applies to targets defined afterwards.
macro(kq_strict_flags)
  add_compile_options(-Wall -Wextra -Werror)
  if(KQ_SANITIZE AND KQ_TSAN)
    message(FATAL_ERROR "KQ_SANITIZE and KQ_TSAN exclude each other")
  endif()
  if(KQ_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
  if(KQ_TSAN)
    add_compile_options(-fsanitize=thread -O1 -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
  endif()
endmacro()

# Copies the mingw-w64 C++ runtime DLLs into the output folder so every built binary finds them.
function(kq_copy_runtime_dlls)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
      foreach(candidate /usr/${KQ_MINGW_TRIPLE}/lib/${dll} /usr/${KQ_MINGW_TRIPLE}/bin/${dll})
        if(EXISTS ${candidate})
          set(path ${candidate})
        endif()
      endforeach()
    endif()
    if(NOT EXISTS "${path}")
      message(FATAL_ERROR "C++ runtime DLL ${dll} not found")
    endif()
    file(COPY ${path} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    set_property(GLOBAL APPEND PROPERTY KQ_RUNTIME_DLLS ${path})
  endforeach()
endfunction()

# kq_add_gtest(<name> SOURCES ... [LIBS ...] [GUI])
# A GoogleTest executable registered with ctest. Native tests are listed one by one when ctest runs;
# a Windows test executable is one ctest entry run under Wine (one Wine start per executable).
function(kq_add_gtest name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE gtest_main ${ARG_LIBS})
  if(WIN32)
    # Prints the last line RunGTest.cmake requires, once every DLL of the build has finished its detach.
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/teardown_probe.cpp)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    # Judged by the exit status and by GoogleTest's own summary (see RunGTest.cmake).
    add_test(NAME ${name}
      COMMAND ${CMAKE_COMMAND} -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR} -DEXE=$<TARGET_FILE:${name}>
              -P ${PROJECT_SOURCE_DIR}/cmake/RunGTest.cmake)
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
    if(ARG_GUI)
      # Windows on one Wine desktop share its clipboard and focus: one such test at a time.
      set_tests_properties(${name} PROPERTIES LABELS gui RESOURCE_LOCK wine_desktop)
    endif()
  else()
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()

# The library's sources build as C++17, the language level a host's own compiler is asked for; tests,
# benchmarks and tools may use C++20.
function(kq_library_language target)
  set_target_properties(${target} PROPERTIES CXX_STANDARD 17 CXX_STANDARD_REQUIRED ON CXX_EXTENSIONS OFF)
endfunction()

# kq_library_part(<name> [SOURCES ...] [WIN32_SOURCES ...] [LIBS ...])
# One subsystem's share of kqmfc.dll, as an object library. Natively only SOURCES are built (they must
# need no Win32), and tests link the part directly. On Windows the parts are linked into kqmfc.dll.
function(kq_library_part name)
  cmake_parse_arguments(ARG "" "" "SOURCES;WIN32_SOURCES;LIBS" ${ARGN})
  set(sources ${ARG_SOURCES})
  if(WIN32)
    list(APPEND sources ${ARG_WIN32_SOURCES})
  endif()
  add_library(${name} OBJECT ${sources})
  kq_library_language(${name})
  target_compile_definitions(${name} PUBLIC KQMFC_BUILD)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/include ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC kqafx kqbase ${ARG_LIBS})
  set_property(GLOBAL APPEND PROPERTY KQMFC_PARTS ${name})
endfunction()
