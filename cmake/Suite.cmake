# Helpers that keep each CMakeLists.txt a list of sources.
#
#   suite_library(name SOURCES ... [DEPS ...] [PUBLIC_DEPS ...])
#   suite_program(name SOURCES ... [DEPS ...])
#   suite_module(name OUTPUT file SOURCES ... [DEPS ...])   shared object, hidden symbols
#   suite_test(name SOURCES ... [DEPS ...])                  GoogleTest through CTest
#   suite_bench(name SOURCES ... [DEPS ...])                 Google Benchmark program
#   suite_fuzz(name SOURCES ... [DEPS ...])                  libFuzzer target

function(suite_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;PUBLIC_DEPS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_PUBLIC_DEPS} PRIVATE ${A_DEPS})
endfunction()

function(suite_program name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_DEPS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endfunction()

# A loadable module ("X.dll" on the handheld or desktop is "X.so" here).
function(suite_module name)
  cmake_parse_arguments(A "" "OUTPUT" "SOURCES;DEPS" ${ARGN})
  add_library(${name} MODULE ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_DEPS})
  if(NOT A_OUTPUT)
    set(A_OUTPUT ${name})
  endif()
  set_target_properties(${name} PROPERTIES
    PREFIX "" OUTPUT_NAME ${A_OUTPUT} SUFFIX ".so"
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    C_VISIBILITY_PRESET hidden CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  # clang's sanitizer runtimes live in the executable, so only a plain build can
  # insist that a module resolves everything itself.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR NOT CMAKE_CXX_FLAGS MATCHES "sanitize")
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
  target_link_options(${name} PRIVATE -Wl,--exclude-libs,ALL)
endfunction()

function(suite_test name)
  if(NOT SUITE_TESTS)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  include(GoogleTest)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "SUITE_BIN=${CMAKE_BINARY_DIR}/bin;SUITE_SOURCE=${CMAKE_SOURCE_DIR}"
    DISCOVERY_TIMEOUT 60)
endfunction()

function(suite_bench name)
  if(NOT SUITE_BENCH)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_DEPS} benchmark::benchmark)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

function(suite_fuzz name)
  if(NOT SUITE_FUZZ)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_DEPS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endfunction()
