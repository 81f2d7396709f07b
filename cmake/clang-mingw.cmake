# Cross build for Windows with Clang and LLD on mingw-w64's headers, libraries and C++ runtime:
# the second compiler that builds Typewell. The architecture and the runtime's thread model are
# chosen as cmake/mingw-target.cmake says.
#
# On Debian the driver does not find mingw-w64 GCC's C++ library by itself (its folder is named
# "12-posix", not by a plain version number), so the newest such folder is given here. Where
# Clang targets MinGW as its own (an MSYS2 shell) it finds everything, and this file only names
# the compilers, the linker and the static link.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-target.cmake)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})
find_program(CMAKE_RC_COMPILER NAMES ${triple}-windres llvm-windres windres REQUIRED)
# Statically linked like the GCC build: the exe needs no DLL beyond Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -static")

file(GLOB gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${triple}/*-${TYPEWELL_MINGW_THREADS})
if(gcc_dirs)
  list(SORT gcc_dirs COMPARE NATURAL ORDER DESCENDING)
  list(GET gcc_dirs 0 gcc_dir)
  set(CMAKE_CXX_FLAGS_INIT "-isystem ${gcc_dir}/include/c++ -isystem ${gcc_dir}/include/c++/${triple}")
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -L${gcc_dir}")
  if(TYPEWELL_MINGW_THREADS STREQUAL "posix")
    # That C++ library's threads are winpthreads, which the driver does not link on its own (LLD
    # takes a library from anywhere on the command line).
    string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -lpthread")
  endif()
endif()
