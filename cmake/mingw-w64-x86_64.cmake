# Cross-builds the Windows program with Debian's mingw-w64 (the POSIX-threads compilers, which
# std::thread and std::mutex need) and runs what the build runs (tests, gtest discovery) under
# Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DROVAK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DROVAK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DROVAK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${DROVAK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${DROVAK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One executable that runs alone beside its assets: no libstdc++, libgcc or winpthread DLL.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(DROVAK_WINE NAMES wine wine64)
if(DROVAK_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${DROVAK_WINE})
endif()
