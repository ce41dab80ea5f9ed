# Cross-builds the Windows edition with Debian's MinGW-w64 (POSIX threads,
# so std::thread and std::mutex work) into self-contained programs: the
# compiler's runtime is linked statically, so each .exe needs only the DLLs
# that come with Windows. The tests run under Wine (cmake/wine.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORNET5_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORNET5_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORNET5_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORNET5_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORNET5_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
