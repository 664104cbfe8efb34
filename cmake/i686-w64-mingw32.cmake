# Cross toolchain for 32-bit Windows: Debian's mingw-w64 (i686-w64-mingw32, win32 thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(ORVO_MINGW_PREFIX i686-w64-mingw32)
find_program(ORVO_MINGW_CXX NAMES ${ORVO_MINGW_PREFIX}-g++-win32 ${ORVO_MINGW_PREFIX}-g++)
find_program(ORVO_MINGW_WINDRES NAMES ${ORVO_MINGW_PREFIX}-windres)
if(NOT ORVO_MINGW_CXX OR NOT ORVO_MINGW_WINDRES)
  message(FATAL_ERROR
    "The 32-bit Windows cross compiler (${ORVO_MINGW_PREFIX}-g++ and -windres) was not found. "
    "Install it with: apt-get install g++-mingw-w64-i686-win32")
endif()

set(CMAKE_CXX_COMPILER ${ORVO_MINGW_CXX})
set(CMAKE_RC_COMPILER ${ORVO_MINGW_WINDRES})
set(CMAKE_FIND_ROOT_PATH /usr/${ORVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
