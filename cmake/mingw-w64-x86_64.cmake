# SPDX-License-Identifier: MIT
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix thread model,
# which std::thread and std::mutex need). Used for the dependencies and for tevusb.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TEVUSB_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TEVUSB_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TEVUSB_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TEVUSB_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${TEVUSB_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${TEVUSB_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries and headers come from the MinGW sysroot and the prefixes listed in
# CMAKE_PREFIX_PATH; programs (moc, rcc, pkg-config) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TEVUSB_MINGW_TRIPLET} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and helper programs run under Wine.
find_program(TEVUSB_WINE NAMES wine64 wine)
if(TEVUSB_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TEVUSB_WINE})
endif()
