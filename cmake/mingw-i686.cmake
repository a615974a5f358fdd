set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)

# The posix thread model gives std::thread and std::mutex; it is linked statically.
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(PRADIMA_WIDL ${TOOLCHAIN_PREFIX}-widl)

# The target's libraries and headers (Debian's mingw-w64 packages put them here).
set(PRADIMA_MINGW_ROOT /usr/${TOOLCHAIN_PREFIX} CACHE PATH "Root of the mingw-w64 target libraries and headers")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PRADIMA_MINGW_ROOT)
set(CMAKE_FIND_ROOT_PATH ${PRADIMA_MINGW_ROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs the Windows test programs under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
