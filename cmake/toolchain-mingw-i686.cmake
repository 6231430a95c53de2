# Cross build for i686 Windows with Debian's mingw-w64 compilers.
set(SETUP_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
