# Cross build for Windows with mingw-w64's GCC; the architecture and the runtime's thread model
# are chosen as cmake/mingw-target.cmake says.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-target.cmake)
set(CMAKE_C_COMPILER ${triple}-gcc-${TYPEWELL_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${triple}-g++-${TYPEWELL_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
