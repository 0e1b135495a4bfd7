# 32-bit Windows build: the shipped program. Its tests run it as 64-bit Windows runs
# 32-bit programs: through Wine's 32-bit loader in a 64-bit prefix.
set(MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run --32)
