# Test frameworks and test declarations.
#
# Host builds take GoogleTest and Google Benchmark from the system packages. Windows builds
# compile GoogleTest from the source the system ships, so test programs run under Wine.

set(OV_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree for cross builds")
set(OV_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
# The Wine prefix a Windows build's tests run in.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(OV_WINE_ARCH win64)
else()
  set(OV_WINE_ARCH win32)
endif()

macro(ov_add_test_frameworks)
  if(OV_TARGET_WINDOWS)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(${OV_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
    find_package(benchmark QUIET)
    include(GoogleTest)
  endif()
endmacro()

# Every test's name starts with the top folder it lives in and an underscore (audio_, bench_,
# panel_, upnp_, drvsetup_, launcher_, platform_), so "ctest -R ^panel_" selects one deliverable.
# A test declared by a call deferred to another folder names its own in OV_TEST_SOURCE_DIR.
function(ov_test_prefix out)
  set(source_dir ${CMAKE_CURRENT_SOURCE_DIR})
  if(OV_TEST_SOURCE_DIR)
    set(source_dir ${OV_TEST_SOURCE_DIR})
  endif()
  file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${source_dir})
  string(REGEX REPLACE "/.*" "" folder "${relative}")
  set(${out} ${folder}_ PARENT_SCOPE)
endfunction()

function(ov_check_test_name name)
  ov_test_prefix(prefix)
  string(FIND "${name}" "${prefix}" at)
  if(NOT at EQUAL 0)
    message(SEND_ERROR "test ${name}: the names of tests in this folder start with ${prefix}")
  endif()
endfunction()

# ov_add_host_test(NAME <target> {SOURCES <files...> | GLOB <patterns...> [EXCLUDE <regex>]}
#                  [LIBS <libs...>])
# A GoogleTest program run on Linux; every test case becomes a CTest test named
# <folder>_<Suite>.<Case>. GLOB patterns are relative to the calling folder; EXCLUDE drops the
# matching files from them. Nothing is made when the patterns match no file.
function(ov_add_host_test)
  cmake_parse_arguments(T "" "NAME;EXCLUDE" "SOURCES;GLOB;LIBS" ${ARGN})
  set(sources ${T_SOURCES})
  if(T_GLOB)
    list(TRANSFORM T_GLOB PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    file(GLOB found CONFIGURE_DEPENDS ${T_GLOB})
    if(T_EXCLUDE)
      list(FILTER found EXCLUDE REGEX "${T_EXCLUDE}")
    endif()
    if(NOT found)
      return()
    endif()
    list(APPEND sources ${found})
  endif()
  ov_test_prefix(prefix)
  add_executable(${T_NAME} ${sources})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${T_NAME} TEST_PREFIX ${prefix} DISCOVERY_TIMEOUT 60
                       PROPERTIES LABELS host)
endfunction()

# ov_add_wine_test(NAME <name> COMMAND <program or script> [args...]
#                  [DISPLAY] [TIMEOUT <seconds>] [RUNNER_ARGS <args...>])
# Runs the command through scripts/wine-run.sh: a private prefix of the build's architecture
# (32-bit for the i686 build, 64-bit for the x86_64 build), an Xvfb of its own
# when DISPLAY is given, the debug-output monitor, a time-out. A .exe is started with wine;
# anything else runs as a shell command inside the prepared environment.
# Exit code 77 from the runner (no Wine, or a 32-bit prefix on a machine that runs no 32-bit
# code) is reported as skipped.
# SHIPPED marks a test that proves a shipped program: in the 32-bit build it is also labelled
# vm32, the set that the emulated 32-bit guest (scripts/vm32.sh) runs where this machine runs no
# 32-bit code. There every program starts several times slower, so the 32-bit build's CTest limit
# leaves room for the runner's stretched one (OV_WINE_TIME_SCALE).
set(OV_VM32_TIME_SCALE 4)
function(ov_add_wine_test)
  cmake_parse_arguments(T "DISPLAY;SHIPPED" "NAME;TIMEOUT" "COMMAND;RUNNER_ARGS" ${ARGN})
  ov_check_test_name(${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(runner_args --arch ${OV_WINE_ARCH} --timeout ${T_TIMEOUT} ${T_RUNNER_ARGS})
  if(T_DISPLAY)
    list(APPEND runner_args --display)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${OV_WINE_RUN} ${runner_args} -- ${T_COMMAND})
  set(labels wine)
  set(scale 1)
  if(OV_WINE_ARCH STREQUAL "win32")
    set(scale ${OV_VM32_TIME_SCALE})
    if(T_SHIPPED)
      list(APPEND labels vm32)
    endif()
  endif()
  math(EXPR ctest_timeout "${T_TIMEOUT} * ${scale} + 60")
  set_tests_properties(${T_NAME} PROPERTIES
    LABELS "${labels}"
    SKIP_RETURN_CODE 77
    TIMEOUT ${ctest_timeout}
    ENVIRONMENT "OV_DBMON=$<TARGET_FILE:dbmon>;OV_BUILD_DIR=${CMAKE_BINARY_DIR};OV_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()

# ov_add_wine_gtest(NAME <target> SOURCES <files...> [LIBS <libs...>] [ARGS <program args...>]
#                   [DISPLAY] [SHIPPED] [TIMEOUT <s>] [RUNNER_ARGS <args...>])
# A GoogleTest program built for Windows and run as one Wine test (see ov_add_wine_test).
function(ov_add_wine_gtest)
  cmake_parse_arguments(T "DISPLAY;SHIPPED" "NAME;TIMEOUT" "SOURCES;LIBS;ARGS;RUNNER_ARGS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  set(options)
  foreach(flag DISPLAY SHIPPED)
    if(T_${flag})
      list(APPEND options ${flag})
    endif()
  endforeach()
  if(T_TIMEOUT)
    list(APPEND options TIMEOUT ${T_TIMEOUT})
  endif()
  ov_add_wine_test(NAME ${T_NAME} ${options} RUNNER_ARGS ${T_RUNNER_ARGS}
    COMMAND $<TARGET_FILE:${T_NAME}> ${T_ARGS})
endfunction()

# ov_add_contract_test(PORT <port> LIBS <libs...> WIN32_LIBS <libs...> [DISPLAY]
#                      [RUNNER_ARGS <args...>])
# One test body, <port>_contract_test.cpp in the calling folder, against two subjects that
# implement <port>_subject.h: host/<port>_subject.cpp over the simulation (LIBS) on Linux, and
# win32/<port>_subject.cpp over the real adapter (WIN32_LIBS) under Wine. The programs are
# <folder>_<port>_contract_test and, as a Wine test, <folder>_<port>_contract_test_win32.
function(ov_add_contract_test)
  cmake_parse_arguments(T "DISPLAY" "PORT" "LIBS;WIN32_LIBS;RUNNER_ARGS" ${ARGN})
  ov_test_prefix(prefix)
  set(name ${prefix}${T_PORT}_contract_test)
  set(here ${CMAKE_CURRENT_SOURCE_DIR})
  if(OV_TARGET_WINDOWS)
    set(display)
    if(T_DISPLAY)
      set(display DISPLAY)
    endif()
    ov_add_wine_gtest(NAME ${name}_win32 ${display} RUNNER_ARGS ${T_RUNNER_ARGS}
      SOURCES ${here}/${T_PORT}_contract_test.cpp ${here}/win32/${T_PORT}_subject.cpp
      LIBS ${T_WIN32_LIBS})
    target_include_directories(${name}_win32 PRIVATE ${here})
  else()
    ov_add_host_test(NAME ${name} LIBS ${T_LIBS}
      SOURCES ${here}/${T_PORT}_contract_test.cpp ${here}/host/${T_PORT}_subject.cpp)
    target_include_directories(${name} PRIVATE ${here})
  endif()
endfunction()

# ov_add_fuzz_target(NAME <target> SOURCES <files...> [LIBS <libs...>]
#                    [CORPUS <files or folders...>] [DICT <file>])
# The sources, kept in a fuzz/ folder, define LLVMFuzzerTestOneInput and link the libraries
# under test: never a second copy of those libraries' sources, which would be fuzzed apart
# from the build that ships. CORPUS names the seeds: corpus folders and files of the tree, or
# files the build makes. With OV_FUZZ on (the host-fuzz preset, clang) this is a libFuzzer
# program, listed for scripts/run-fuzz.sh with its seeds and dictionary; otherwise a smoke
# test feeds the seeds and a fixed set of generated inputs through the same entry point.
function(ov_add_fuzz_target)
  cmake_parse_arguments(T "" "NAME;DICT" "SOURCES;LIBS;CORPUS" ${ARGN})
  ov_check_test_name(${T_NAME})
  if(OV_TARGET_WINDOWS)
    return()
  endif()
  foreach(source IN LISTS T_SOURCES)
    if(NOT source MATCHES "(^|/)fuzz/[^/]+$")
      message(FATAL_ERROR "${T_NAME}: ${source} is not a fuzz/ source; link its library instead")
    endif()
  endforeach()
  if(OV_FUZZ)
    add_executable(${T_NAME} ${T_SOURCES})
    target_compile_options(${T_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${T_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
    ov_fuzz_target_instrumentation_check(${T_NAME})
    ov_list_fuzz_target(${T_NAME} "${T_DICT}" "${T_CORPUS}")
  else()
    add_executable(${T_NAME} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/platform/tests/support/fuzz_smoke_main.cpp)
    add_test(NAME ${T_NAME}_smoke COMMAND ${T_NAME} ${T_CORPUS})
    set_tests_properties(${T_NAME}_smoke PROPERTIES LABELS "host;fuzz")
  endif()
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
endfunction()
