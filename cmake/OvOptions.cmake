# Build-wide switches shared by every part.
set(OV_SANITIZE "" CACHE STRING "Sanitizers for host builds, e.g. address;undefined or thread")
option(OV_FUZZ "Build fuzz targets as libFuzzer programs (needs clang)" OFF)

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(OV_TARGET_WINDOWS TRUE)
else()
  set(OV_TARGET_WINDOWS FALSE)
endif()

# The Windows distribution: what an installation ships, laid out as the programs expect.
set(OV_DIST_DIR ${CMAKE_SOURCE_DIR}/dist/win32 CACHE PATH "Where the Windows deliverables are placed")

function(ov_apply_sanitizers)
  if(OV_SANITIZE AND NOT OV_TARGET_WINDOWS)
    list(JOIN OV_SANITIZE "," list)
    add_compile_options(-fsanitize=${list} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${list})
  endif()
endfunction()

# Adds every folder below the current one that has a CMakeLists.txt of its own.
function(ov_add_each_subdirectory)
  file(GLOB dirs CONFIGURE_DEPENDS LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(dir ${dirs})
    if(IS_DIRECTORY ${dir} AND EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
