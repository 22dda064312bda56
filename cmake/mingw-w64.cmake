# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 packages
# (g++-mingw-w64-x86-64). Use with
#   cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GLYPH_MINGW_TRIPLE x86_64-w64-mingw32)

# The posix thread variant carries the whole C++ standard library; with
# -static its winpthread is linked in too, so no runtime DLL is needed.
find_program(GLYPH_MINGW_CXX NAMES ${GLYPH_MINGW_TRIPLE}-g++-posix ${GLYPH_MINGW_TRIPLE}-g++ REQUIRED)
find_program(GLYPH_MINGW_CC NAMES ${GLYPH_MINGW_TRIPLE}-gcc-posix ${GLYPH_MINGW_TRIPLE}-gcc REQUIRED)
find_program(GLYPH_MINGW_WINDRES NAMES ${GLYPH_MINGW_TRIPLE}-windres)

set(CMAKE_CXX_COMPILER ${GLYPH_MINGW_CXX})
set(CMAKE_C_COMPILER ${GLYPH_MINGW_CC})
if(GLYPH_MINGW_WINDRES)
  set(CMAKE_RC_COMPILER ${GLYPH_MINGW_WINDRES})
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${GLYPH_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every executable stands alone on a bare Windows: no libgcc, libstdc++ or
# winpthread DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
