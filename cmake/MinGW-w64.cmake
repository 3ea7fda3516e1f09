# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64). Every program and
# the plug-in module carry the compiler runtime inside (no libgcc, libstdc++ or winpthread DLLs
# beside them); the test programs run under Wine (wine64) through cmake/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SDMWEAVER_MINGW_TRIPLE x86_64-w64-mingw32)
# The "posix" flavour: its standard library has the complete thread support.
set(CMAKE_C_COMPILER ${SDMWEAVER_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SDMWEAVER_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${SDMWEAVER_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SDMWEAVER_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
