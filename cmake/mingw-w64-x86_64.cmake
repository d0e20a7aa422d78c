# Cross-builds for 64-bit Windows with Debian's mingw-w64 (the posix thread model, which std::thread
# needs). The runtime is linked statically so the programs run without mingw's DLLs beside them.
# SNAPORD_WINDOWS_PREFIX names the folder where the Windows builds of third-party libraries live.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

if(DEFINED ENV{SNAPORD_WINDOWS_PREFIX} AND NOT SNAPORD_WINDOWS_PREFIX)
    set(SNAPORD_WINDOWS_PREFIX "$ENV{SNAPORD_WINDOWS_PREFIX}")
endif()
set(SNAPORD_WINDOWS_PREFIX "${SNAPORD_WINDOWS_PREFIX}" CACHE PATH "Windows builds of the third-party libraries")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SNAPORD_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${SNAPORD_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs the build itself runs (the icon renderer) and the tests run under Wine, in the Wine
# prefix the environment names (WINEPREFIX), without Wine's debug messages.
if(EXISTS /usr/lib/wine/wine64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env WINEDEBUG=-all /usr/lib/wine/wine64)
endif()

# wxWidgets for MSW from the prefix; the host's wx-config would name the GTK build.
if(SNAPORD_WINDOWS_PREFIX AND EXISTS ${SNAPORD_WINDOWS_PREFIX}/bin/wx-config)
    set(wxWidgets_CONFIG_EXECUTABLE ${SNAPORD_WINDOWS_PREFIX}/bin/wx-config)
endif()
