# The 32-bit release: the win32 thread model's run time is the smaller one, and only
# GoogleTest needs the posix one (std::mutex), so the release is built without it.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER   i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
