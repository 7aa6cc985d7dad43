# Cross build for 64-bit Windows from Linux with MinGW-w64 (Debian's
# g++-mingw-w64-x86-64-posix, whose threads std::thread uses). The programs are linked
# statically, so that they need no DLL beside them. Tests run under Wine.
#
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BOXPAINT_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BOXPAINT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BOXPAINT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${BOXPAINT_MINGW_PREFIX}-windres)

# Libraries and headers come from the target's tree only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${BOXPAINT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own run-time and the threads library go into each program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# CTest runs the test programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
