# Cross-compiles the Windows build on Debian with MinGW-w64 (g++-mingw-w64-x86-64-posix).
# The posix thread model gives std::thread and std::mutex; everything links statically, so a
# built .exe needs no DLL beside it, under Wine or on a real Windows machine.
#
#   cmake --preset windows      (or: cmake -B build/windows --toolchain <absolute path of this>)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SR_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${SR_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A DLL (such as a test's automation server) needs the static runtime as much as an .exe: Wine
# and Windows find no libstdc++-6.dll beside it.
set(SR_MINGW_STATIC "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT ${SR_MINGW_STATIC})
set(CMAKE_SHARED_LINKER_FLAGS_INIT ${SR_MINGW_STATIC})
set(CMAKE_MODULE_LINKER_FLAGS_INIT ${SR_MINGW_STATIC})

# Programs built here (the data generator at build time, the tests) run on this machine through
# Wine, in the build folder's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
