# Cross-building for 64-bit Windows with Debian's MinGW-w64 compilers.
# The -posix thread model: the programs use std::thread, which the win32 model lacks.
# ZQ_WINDOWS_PREFIX (cache or environment) names the prefix that scripts/windows-deps filled.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(zq_triplet x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${zq_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${zq_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${zq_triplet}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

if(NOT ZQ_WINDOWS_PREFIX AND DEFINED ENV{ZQ_WINDOWS_PREFIX})
  set(ZQ_WINDOWS_PREFIX "$ENV{ZQ_WINDOWS_PREFIX}")
endif()
set(ZQ_WINDOWS_PREFIX "${ZQ_WINDOWS_PREFIX}" CACHE PATH "Prefix holding the Windows libraries")
# try_compile projects see the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZQ_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${zq_triplet} ${ZQ_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's build tools (moc, rcc, uic) run here: the host's own Qt of the same version serves them.
set(QT_HOST_PATH /usr CACHE PATH "The host's Qt, whose tools the cross build runs")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "The host Qt's CMake packages")
