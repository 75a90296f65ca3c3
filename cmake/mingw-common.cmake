# Shared by the mingw-w64 toolchain files: Debian's cross compilers, the variant with POSIX
# threads (std::thread and std::mutex need it), and programs linked statically so that
# each .exe runs on its own, without the compiler's DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${HORATTA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HORATTA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${HORATTA_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HORATTA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run in Wine; scripts/test-windows sets up the prefix they run in.
find_program(HORATTA_WINE wine)
if(HORATTA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${HORATTA_WINE})
endif()
