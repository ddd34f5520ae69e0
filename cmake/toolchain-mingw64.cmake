# Cross-builds the Windows x64 plug-in with Debian's mingw-w64 (posix thread
# model). The runtime is linked statically, so the DLL imports only system
# DLLs. Tests run the built programs under Wine through the emulator below.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VANTELOR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VANTELOR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTELOR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VANTELOR_MINGW_PREFIX}-windres)
set(CMAKE_AR ${VANTELOR_MINGW_PREFIX}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${VANTELOR_MINGW_PREFIX}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${VANTELOR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained file per program: no libgcc, libstdc++ or winpthread DLL
# beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs the cross-built tests through Wine in a private prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/lib/wine-run)
