# The program tests start the real vantorix.exe from the test's own folder.
add_dependencies(test_purchase vantorix)
