# Cross-compiles the engine, the core and zrwin.exe for 64-bit Windows with Debian's mingw-w64
# (package g++-mingw-w64-x86-64). Configure with -DZR4700_BUILD_UI=OFF: the Qt front end needs a
# Windows build of Qt, which this toolchain does not provide.
#
#   cmake -S . -B build-windows -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DZR4700_BUILD_UI=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZR4700_MINGW_PREFIX x86_64-w64-mingw32)

# The "-posix" flavour of the compiler carries the winpthreads-based std::thread, std::mutex and
# std::this_thread::sleep_until; the "-win32" flavour (Debian's default alternative) lacks them.
find_program(ZR4700_MINGW_CXX NAMES ${ZR4700_MINGW_PREFIX}-g++-posix ${ZR4700_MINGW_PREFIX}-g++
             REQUIRED)
find_program(ZR4700_MINGW_CC NAMES ${ZR4700_MINGW_PREFIX}-gcc-posix ${ZR4700_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${ZR4700_MINGW_CXX})
if(ZR4700_MINGW_CC)
  set(CMAKE_C_COMPILER ${ZR4700_MINGW_CC})
endif()
find_program(CMAKE_RC_COMPILER NAMES ${ZR4700_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZR4700_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static C++ runtime, libgcc and winpthreads: zrwin.exe then needs only system DLLs (kernel32,
# winmm, msvcrt), so it runs on a bare Windows or under Wine as it is.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
