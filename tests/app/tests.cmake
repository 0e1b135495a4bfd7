# The copies tests start the real programs from the test's own folder.
add_dependencies(test_app vantorix vantorix_console)
