# What both mingw-w64 toolchains share; each sets ravlek_mingw_target (the
# compilers' prefix) and ravlek_mingw_processor first. posix threads, static runtime.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ravlek_mingw_processor})
set(CMAKE_C_COMPILER   ${ravlek_mingw_target}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ravlek_mingw_target}-g++-posix)
set(CMAKE_RC_COMPILER  ${ravlek_mingw_target}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ravlek_mingw_target})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
