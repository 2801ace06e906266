# Cross-compiles Ravlek for 64-bit Windows with mingw-w64; tests run under Wine.
set(ravlek_mingw_target x86_64-w64-mingw32)
set(ravlek_mingw_processor x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
