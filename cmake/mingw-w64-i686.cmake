# Cross build for 32-bit Windows with Debian's MinGW-w64: the program that
# runs on every Windows from XP SP3 on, 64-bit ones included.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(WENDREL_MINGW_TRIPLET i686-w64-mingw32)
set(WENDREL_WINE_BITS 32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
