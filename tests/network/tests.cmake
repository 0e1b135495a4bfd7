# The local update server around the network suite, and the update check benchmark.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
  set(UPDATE_SERVER_ARGS ${CMAKE_SOURCE_DIR}/tools/update_server.py
    --pidfile ${CMAKE_BINARY_DIR}/update-server.pid)
  add_test(NAME updateserver_start COMMAND ${Python3_EXECUTABLE} ${UPDATE_SERVER_ARGS}
           --port ${VANTORIX_UPDATE_PORT} --detach --log ${CMAKE_BINARY_DIR}/update-server.log)
  set_tests_properties(updateserver_start PROPERTIES FIXTURES_SETUP updateserver TIMEOUT 30)
  add_test(NAME updateserver_stop COMMAND ${Python3_EXECUTABLE} ${UPDATE_SERVER_ARGS} --stop)
  set_tests_properties(updateserver_stop PROPERTIES FIXTURES_CLEANUP updateserver TIMEOUT 30)
  if(TEST network)
    set_tests_properties(network PROPERTIES FIXTURES_REQUIRED "prefix;updateserver")
  endif()
endif()

# Not a test: run with the server up (see the source's first lines).
add_executable(bench_update_check ${CMAKE_CURRENT_LIST_DIR}/bench/BenchUpdateCheck.cpp
               ${CMAKE_CURRENT_LIST_DIR}/NetworkFixtures.cpp $<TARGET_OBJECTS:vx_res>)
target_link_libraries(bench_update_check PRIVATE vx_update vx_testsupport)
# The floor of the scripted check: a minimal program of bare POSTs.
add_executable(bench_bare_posts ${CMAKE_CURRENT_LIST_DIR}/bench/BarePosts.cpp ${CMAKE_SOURCE_DIR}/update/UpdateRequest.cpp)
target_include_directories(bench_bare_posts PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(bench_bare_posts PRIVATE wininet)
# Not one of the bench_*.exe that tools/bench runs by itself.
set_target_properties(bench_bare_posts PROPERTIES OUTPUT_NAME bare_posts)
add_dependencies(bench_update_check bench_bare_posts vantorix vantorix_console)
