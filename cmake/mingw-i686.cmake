# Cross build for 32-bit Windows with MinGW-w64: the release build, the program users
# get. Its tests run under Wine's 32-bit support (wine32) in the same prefix.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
