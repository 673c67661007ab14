# What both Windows cross builds share; the toolchain file of each sets
# WENDREL_MINGW_TRIPLET and WENDREL_WINE_BITS first.
# The posix-thread compilers are used because GoogleTest needs std::mutex.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${WENDREL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WENDREL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${WENDREL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${WENDREL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One exe with no compiler run-time DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs the Windows executables through Wine, with the loader of their
# width.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh --${WENDREL_WINE_BITS})
