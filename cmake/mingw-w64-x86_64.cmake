# Cross-compiles for 64-bit Windows with Debian's MinGW-w64, the posix-threads variant
# (std::thread and std::mutex need it):
#   cmake -S . -B build/windows -G Ninja \
#       -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DDORVATH_WINDOWS_QT=<toolkit>
# where <toolkit> is Qt for Windows (scripts/windows-qt builds one). moc, rcc and uic
# come from Debian's own Qt of the same version (qt6-base-dev-tools).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries, headers and packages only from the Windows side; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES DORVATH_WINDOWS_QT)
if(DORVATH_WINDOWS_QT)
    list(APPEND CMAKE_FIND_ROOT_PATH ${DORVATH_WINDOWS_QT})
    list(APPEND CMAKE_PREFIX_PATH ${DORVATH_WINDOWS_QT})
    set(QT_HOST_PATH /usr CACHE PATH "Where the host's Qt tools are")
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "Their CMake packages")
endif()

# Test programs run under Wine, each in a Wine prefix of its own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/run)
