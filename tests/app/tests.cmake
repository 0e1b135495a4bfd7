# The copies tests start the real programs from the test's own folder.
add_dependencies(test_app vantorix vantorix_console)
# The version resources are read through version.dll.
target_link_libraries(test_app PRIVATE version)
