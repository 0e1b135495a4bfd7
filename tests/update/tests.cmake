# The update records' benchmark: a read pass over many packages beside the registry
# calls it cannot avoid, printed as BENCH lines (run by tools/bench).
add_executable(bench_update_store ${CMAKE_CURRENT_LIST_DIR}/bench/BenchUpdateStore.cpp)
target_link_libraries(bench_update_store PRIVATE vx_update)
