# Cross build for 64-bit Windows with MinGW-w64: TessaryPlugin.fmx64, the
# plug-in that 64-bit hosts load; the results run under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
