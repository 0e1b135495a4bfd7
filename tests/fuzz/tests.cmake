# Short native fuzzing runs under the sanitizers, as part of the test command.
set(VANTORIX_FUZZ_SECONDS 45 CACHE STRING "Seconds each fuzz target runs in the test command")
set(VANTORIX_FUZZ_BUILD ${CMAKE_BINARY_DIR}/fuzz)
add_test(NAME fuzz_build COMMAND ${CMAKE_SOURCE_DIR}/tools/fuzz-build ${VANTORIX_FUZZ_BUILD})
set_tests_properties(fuzz_build PROPERTIES FIXTURES_SETUP fuzzbuild TIMEOUT 900)
foreach(target command_line versions update_response prefs version_split report_format)
  add_test(NAME fuzz_${target} COMMAND ${CMAKE_SOURCE_DIR}/tools/fuzz-run ${VANTORIX_FUZZ_BUILD} ${target}
           ${VANTORIX_FUZZ_SECONDS})
  set_tests_properties(fuzz_${target} PROPERTIES FIXTURES_REQUIRED fuzzbuild TIMEOUT 600)
endforeach()
