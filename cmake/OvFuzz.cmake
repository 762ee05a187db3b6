# Fuzzing instrumentation. With OV_FUZZ on (the host-fuzz preset, clang) every library is built
# with the fuzzer's coverage counters and the address and undefined-behaviour sanitizers, so a
# fuzz target sees into whatever parser it links, not only into its own sources. Each fuzz
# target then checks, after it is linked, that every static library it links carries that
# instrumentation: a library built without it fails the build.

set(OV_FUZZ_INSTRUMENTATION -fsanitize=fuzzer-no-link,address,undefined)

function(ov_apply_fuzz_instrumentation)
  if(OV_FUZZ AND NOT OV_TARGET_WINDOWS)
    add_compile_options(${OV_FUZZ_INSTRUMENTATION})
    add_link_options(-fsanitize=address,undefined)
  endif()
endfunction()

# The static libraries of this project that `target` links, directly or through others.
function(_ov_static_library_closure target out)
  set(pending ${target})
  set(seen)
  set(libraries)
  while(pending)
    list(POP_FRONT pending current)
    if(NOT TARGET ${current} OR current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(imported ${current} IMPORTED)
    if(imported)
      continue()
    endif()
    get_target_property(type ${current} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
      list(APPEND libraries ${current})
    endif()
    get_target_property(direct ${current} LINK_LIBRARIES)
    get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
    foreach(dependency IN LISTS direct interface)
      if(dependency)
        list(APPEND pending ${dependency})
      endif()
    endforeach()
  endwhile()
  set(${out} ${libraries} PARENT_SCOPE)
endfunction()

function(_ov_check_fuzz_instrumentation target)
  _ov_static_library_closure(${target} libraries)
  set(files)
  foreach(library IN LISTS libraries)
    list(APPEND files $<TARGET_FILE:${library}>)
  endforeach()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_SOURCE_DIR}/cmake/check_fuzz_instrumentation.sh ${target} ${files}
    VERBATIM)
endfunction()

# Called for each fuzz target; the check is set up once the target's folder is fully read, so
# every library it links is declared. (A deferred call's arguments are read when it runs, hence
# the target name written into the code.)
function(ov_fuzz_target_instrumentation_check target)
  if(OV_FUZZ)
    cmake_language(EVAL CODE
      "cmake_language(DEFER CALL _ov_check_fuzz_instrumentation [[${target}]])")
  endif()
endfunction()

# The list scripts/run-fuzz.sh reads, build/<preset>/fuzz_targets.txt: one line per target,
# "name<TAB>program<TAB>dictionary<TAB>seed|seed|..." ("-" for no dictionary or seed), written
# once every folder is read.
function(ov_list_fuzz_target target dictionary seeds)
  list(JOIN seeds "|" seed_text)
  if(NOT dictionary)
    set(dictionary -)
  endif()
  if(NOT seed_text)
    set(seed_text -)
  endif()
  set_property(GLOBAL APPEND PROPERTY OV_FUZZ_TARGET_LINES
    "${target}\t$<TARGET_FILE:${target}>\t${dictionary}\t${seed_text}")
endfunction()

function(_ov_write_fuzz_target_list)
  get_property(lines GLOBAL PROPERTY OV_FUZZ_TARGET_LINES)
  list(JOIN lines "\n" content)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzz_targets.txt CONTENT "${content}\n")
endfunction()

if(OV_FUZZ)
  cmake_language(DEFER CALL _ov_write_fuzz_target_list)
endif()
