# ov_add_deliverable(<target> TYPE EXE|DLL OUTPUT_NAME <name> SOURCES <files...>
#                    [RESOURCES <.rc files...>] [LIBS <libs...>] [DIST_SUBDIR <folder>]
#                    [DEF <module definition file>] [SHIP_64BIT])
# Declares one Windows program or library of the distribution. Only Windows builds declare
# deliverables; the result is placed in the distribution folder. The distribution is 32-bit:
# a 64-bit build places there only what is marked SHIP_64BIT and keeps the rest in its build
# folder, so it never replaces a 32-bit program.
function(ov_add_deliverable target)
  cmake_parse_arguments(D "SHIP_64BIT" "TYPE;OUTPUT_NAME;DIST_SUBDIR;DEF" "SOURCES;RESOURCES;LIBS" ${ARGN})
  if(NOT OV_TARGET_WINDOWS)
    message(FATAL_ERROR "ov_add_deliverable(${target}) is for Windows builds only")
  endif()
  if(D_TYPE STREQUAL "EXE")
    add_executable(${target} WIN32 ${D_SOURCES} ${D_RESOURCES})
  elseif(D_TYPE STREQUAL "DLL")
    add_library(${target} SHARED ${D_SOURCES} ${D_RESOURCES} ${D_DEF})
    set_target_properties(${target} PROPERTIES PREFIX "")
  else()
    message(FATAL_ERROR "ov_add_deliverable(${target}): TYPE must be EXE or DLL")
  endif()
  target_link_libraries(${target} PRIVATE ${D_LIBS})
  set(dir ${OV_DIST_DIR})
  if(D_DIST_SUBDIR)
    set(dir ${OV_DIST_DIR}/${D_DIST_SUBDIR})
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 8 AND NOT D_SHIP_64BIT)
    set(dir ${CMAKE_BINARY_DIR}/unshipped)
  endif()
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${D_OUTPUT_NAME}
    RUNTIME_OUTPUT_DIRECTORY ${dir}
    LIBRARY_OUTPUT_DIRECTORY ${dir})
endfunction()

# ov_dist_file(<source file> [DIST_SUBDIR <folder>]): ships a data file beside the programs
# (from the 32-bit build, which builds the programs it belongs to).
function(ov_dist_file file)
  cmake_parse_arguments(F "" "DIST_SUBDIR" "" ${ARGN})
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    return()
  endif()
  set(dir ${OV_DIST_DIR})
  if(F_DIST_SUBDIR)
    set(dir ${OV_DIST_DIR}/${F_DIST_SUBDIR})
  endif()
  get_filename_component(name ${file} NAME)
  string(MAKE_C_IDENTIFIER "dist_${F_DIST_SUBDIR}_${name}" tgt)
  add_custom_command(OUTPUT ${dir}/${name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${CMAKE_COMMAND} -E copy ${file} ${dir}/${name}
    DEPENDS ${file})
  add_custom_target(${tgt} ALL DEPENDS ${dir}/${name})
endfunction()
