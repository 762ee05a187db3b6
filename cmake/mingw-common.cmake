# Shared by the mingw-w64 toolchain files; OV_MINGW_TRIPLE names the target.
set(CMAKE_C_COMPILER ${OV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${OV_MINGW_TRIPLE}-windres)
set(OV_WIDL ${OV_MINGW_TRIPLE}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${OV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Every program and library runs without extra runtime DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
