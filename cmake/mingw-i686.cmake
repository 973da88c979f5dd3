# Cross build for 32-bit Windows with MinGW-w64: the release build. This machine's
# kernel cannot run 32-bit code, so its tests are built but not run here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
