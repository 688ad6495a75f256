# SPDX-License-Identifier: GPL-3.0-or-later
# Shared compile settings and small helpers for the project's targets.

add_library(quillet_warnings INTERFACE)
target_compile_options(quillet_warnings INTERFACE -Wall -Wextra $<$<BOOL:${QUILLET_WERROR}>:-Werror>)
# GCC 12 at -O3 reports overlapping copies inside std::string's own inlined code (a
# literal plus a temporary string) that cannot happen: a fault of that compiler's
# warning, which would otherwise stop a Release build with warnings as errors.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(quillet_warnings INTERFACE -Wno-restrict)
endif()

if(QUILLET_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# quillet_library(name SOURCES ... LIBS ...): a static library of one source folder.
# Its public include root is the folder itself, so users write #include "encoding.h".
function(quillet_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE quillet_warnings)
endfunction()

# quillet_test(name SOURCES ... LIBS ...): a GoogleTest executable registered with ctest.
# GUI tests run on the offscreen platform, each with its own registry and HOME.
include(GoogleTest)
function(quillet_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main quillet_warnings)
  target_compile_definitions(${name} PRIVATE QUILLET_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES TIMEOUT ${ARG_TIMEOUT}
               LABELS ${name}
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUILLET_REGISTRY=${CMAKE_BINARY_DIR}/test-registry-${name}.db")
endfunction()

# Fuzzing instruments every library; only the fuzz executables link the fuzzer's main.
if(QUILLET_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
