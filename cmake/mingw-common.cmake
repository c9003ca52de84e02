# What both MinGW-w64 toolchain files share; each sets TOOLCHAIN_PREFIX and
# CMAKE_SYSTEM_PROCESSOR first, then includes this.
set(CMAKE_SYSTEM_NAME Windows)

# The POSIX-threads flavour: GoogleTest needs std::mutex, which the win32
# flavour of this compiler lacks. Everything is linked statically, so no
# threading DLL ships.
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test programs run through Wine; scripts/wine-run keeps one prefix per build tree.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
