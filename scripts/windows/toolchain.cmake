# Cross-compiles for 64-bit Windows with Debian's mingw-w64 compiler (posix threads, which
# std::thread and std::mutex need). VORLAN_WIN_PREFIX names the prefix that
# scripts/windows/deps.sh built (the libraries, and Qt when it was asked for).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_AR ${triple}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${triple}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT VORLAN_WIN_PREFIX AND DEFINED ENV{VORLAN_WIN_PREFIX})
    set(VORLAN_WIN_PREFIX $ENV{VORLAN_WIN_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${VORLAN_WIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
