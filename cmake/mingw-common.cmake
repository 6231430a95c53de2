# Shared by the mingw-w64 toolchain files, which set SETUP_MINGW_ARCH (x86_64 or i686).
# The posix thread model gives std::thread; everything is linked statically, so the launcher
# is one self-contained executable without libgcc, libstdc++ or winpthread DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${SETUP_MINGW_ARCH})
set(CMAKE_C_COMPILER   ${SETUP_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${SETUP_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  ${SETUP_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SETUP_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
