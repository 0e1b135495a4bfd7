# The copies tests start the real program from the test's own folder.
add_dependencies(test_app vantorix)
