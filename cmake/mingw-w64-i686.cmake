# Cross-compiles Ravlek for 32-bit Windows with mingw-w64, for the release.
set(ravlek_mingw_target i686-w64-mingw32)
set(ravlek_mingw_processor x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
