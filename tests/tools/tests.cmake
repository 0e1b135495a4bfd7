# The setup script against a package mirror mid-sync, with apt-get stubbed: no Wine.
add_test(NAME install_deps COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/install_deps.sh)
