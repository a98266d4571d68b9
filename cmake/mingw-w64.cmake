# Cross build for 64-bit Windows with Debian's mingw-w64 (package mingw-w64),
# the POSIX-threads flavour that std::thread needs. Programs are linked
# statically, so the .exe runs without mingw's DLLs beside it; CTest runs the
# tests through Wine.
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(K2V_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${K2V_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${K2V_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${K2V_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${K2V_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(K2V_WINE wine)
if(K2V_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${K2V_WINE})
endif()
