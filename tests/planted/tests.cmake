# DLLs planted beside the program, for the end-to-end test test_planted_dlls: a DLL that
# marks every process that loads it, and a loader that takes DLLs either by bare name,
# as an unprotected program does, or through the program's system-folder loader.
add_library(planted SHARED ${CMAKE_CURRENT_LIST_DIR}/PlantedDll.cpp)
set_target_properties(planted PROPERTIES PREFIX "")
add_executable(planted_loader ${CMAKE_CURRENT_LIST_DIR}/PlantedLoader.cpp)
target_link_libraries(planted_loader PRIVATE vx_framework)
