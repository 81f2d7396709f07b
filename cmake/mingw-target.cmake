# What both cross builds for Windows share (cmake/mingw.cmake with GCC, cmake/clang-mingw.cmake
# with Clang and LLD): TYPEWELL_MINGW_ARCH is "i686" (default: the 32-bit program that is shipped)
# or "x86_64" (the same sources as a 64-bit build, for testing under Wine on machines that cannot
# run 32-bit code). The thread model of the runtime is chosen by TYPEWELL_MINGW_THREADS: "posix"
# (default) is needed by GoogleTest; the single-threaded program itself is shipped with "win32",
# which leaves the threads library out of the exe. Sets `triple`.
if(NOT DEFINED TYPEWELL_MINGW_ARCH)
  set(TYPEWELL_MINGW_ARCH i686)
endif()
if(NOT DEFINED TYPEWELL_MINGW_THREADS)
  set(TYPEWELL_MINGW_THREADS posix)
endif()
# CMake's checks of the compiler read the toolchain file again, in projects of their own.
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TYPEWELL_MINGW_ARCH TYPEWELL_MINGW_THREADS)
set(triple ${TYPEWELL_MINGW_ARCH}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TYPEWELL_MINGW_ARCH})
if(EXISTS /usr/${triple})
  set(CMAKE_FIND_ROOT_PATH /usr/${triple})
  set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
  set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)  # not the packages of this Linux system
endif()
if(NOT CMAKE_HOST_WIN32)
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()
