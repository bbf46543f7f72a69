# SPDX-FileCopyrightText: 2026 The Vantu developers
# SPDX-License-Identifier: MIT
# Cross-building for 64-bit Windows with Debian's mingw-w64 (the POSIX thread model, which
# std::thread needs). The libraries Vantu links are looked for in VANTU_WINDOWS_PREFIX alone,
# where scripts/build-windows.sh builds them from Debian's sources.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_AR ${triple}-gcc-ar-posix)
set(CMAKE_RANLIB ${triple}-gcc-ranlib-posix)
if(NOT VANTU_WINDOWS_PREFIX)
    set(VANTU_WINDOWS_PREFIX "$ENV{VANTU_WINDOWS_PREFIX}")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${VANTU_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config reads the .pc files there, and never the build machine's.
set(ENV{PKG_CONFIG_LIBDIR} "${VANTU_WINDOWS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
# Every program one file that runs on its own: the C and C++ runtimes and the threads linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
# The programs the build runs (vantu-render drawing the icon), run under wine, quietly.
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEDEBUG=-all wine)
