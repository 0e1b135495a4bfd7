# bench_report: the status report over many packages against a floor that writes the
# same bytes in one piece.
add_executable(bench_report ${CMAKE_CURRENT_LIST_DIR}/bench/BenchReport.cpp)
target_link_libraries(bench_report PRIVATE vx_report vx_testsupport)
add_dependencies(bench_report PackageInfoServer)
