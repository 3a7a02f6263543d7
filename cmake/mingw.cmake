# Cross build of the Windows console program with mingw-w64. VANTRIM_MINGW_TARGET names the
# compiler's target: i686-w64-mingw32 for the 32-bit program (the default), x86_64-w64-mingw32
# for the 64-bit build that runs the tests where 32-bit programs cannot run. The posix-thread
# variant of the compiler is the one whose standard library has std::mutex, which the test
# framework needs.
if(NOT VANTRIM_MINGW_TARGET)
  set(VANTRIM_MINGW_TARGET i686-w64-mingw32)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VANTRIM_MINGW_TARGET)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR ${VANTRIM_MINGW_TARGET})
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VANTRIM_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTRIM_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${VANTRIM_MINGW_TARGET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VANTRIM_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
