# The Windows build on Linux: MinGW-w64 for 64-bit Windows (Debian's
# g++-mingw-w64-x86-64, its POSIX-thread flavour, which has std::mutex).
# VX5PRCFG_WINDOWS_DEPS names the prefix with what was cross-built for it:
# Net-SNMP's snmplib, GoogleTest, and the JSON headers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_mingw}-windres)

list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VX5PRCFG_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/${_mingw} ${VX5PRCFG_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config sees the cross-built packages only.
set(ENV{PKG_CONFIG_LIBDIR} ${VX5PRCFG_WINDOWS_DEPS}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# Only Windows' own DLLs may be imported: libstdc++, libgcc and winpthread
# are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
