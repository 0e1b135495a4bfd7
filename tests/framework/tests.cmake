# The C run-time's own argument splitting, which the command-line test compares with.
add_executable(argv_printer ${CMAKE_CURRENT_LIST_DIR}/child/ArgvPrinter.cpp)
add_dependencies(test_framework argv_printer)
