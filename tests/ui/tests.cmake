# The product list's benchmark: offline passes over many packages and mouse moves over
# long lists, printed as BENCH lines (run by tools/bench).
add_executable(bench_ui ${CMAKE_CURRENT_LIST_DIR}/bench/BenchUi.cpp $<TARGET_OBJECTS:vx_res>)
target_link_libraries(bench_ui PRIVATE vx_ui)
add_dependencies(bench_ui recorder)

# "Check updates" runs against the network suite's local update server.
target_sources(test_ui PRIVATE ${CMAKE_SOURCE_DIR}/tests/network/NetworkFixtures.cpp)
target_link_libraries(test_ui PRIVATE wininet)
if(TEST updateserver_start)
  set_tests_properties(ui PROPERTIES FIXTURES_REQUIRED "prefix;updateserver")
endif()
