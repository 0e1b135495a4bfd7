# End-to-end tests: the real vantorix.exe driven from outside under Xvfb, with real X
# input (xdotool), the probe that reads its windows, the registry and a local server.
add_executable(probe ${CMAKE_CURRENT_LIST_DIR}/probe/Probe.cpp)
target_include_directories(probe PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(probe PRIVATE comctl32 user32)

find_package(Python3 COMPONENTS Interpreter)
set(E2E_PORT 18766 CACHE STRING "Loopback port of the end-to-end tests' update server")

if(Python3_FOUND AND TARGET vantorix)
  set(E2E_ENV ${VANTORIX_TEST_ENV}
    VANTORIX_BIN_DIR=${CMAKE_BINARY_DIR}/bin
    VANTORIX_TOOLS_DIR=${CMAKE_SOURCE_DIR}/tools
    VANTORIX_E2E_PORT=${E2E_PORT}
    PYTHONDONTWRITEBYTECODE=1)
  file(GLOB e2e_modules CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/test_*.py)
  foreach(module ${e2e_modules})
    get_filename_component(name ${module} NAME_WE)
    string(REPLACE "test_" "e2e_" test_name ${name})
    add_test(NAME ${test_name}
             COMMAND ${Python3_EXECUTABLE} -m unittest -v ${name}
             WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR})
    set_tests_properties(${test_name} PROPERTIES ENVIRONMENT "${E2E_ENV}"
      FIXTURES_REQUIRED prefix TIMEOUT 600 RUN_SERIAL TRUE)
  endforeach()
endif()
