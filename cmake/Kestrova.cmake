# Shared build settings and helpers for every module.

set(KESTROVA_WARNINGS -Wall -Wextra)
if(KESTROVA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(KESTROVA_THREAD_SANITIZE)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
if(KESTROVA_FUZZ)
  # Every library gets coverage instrumentation so the fuzzers can see inside it.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# kestrova_library(NAME SOURCES ... LIBS ...): a static library of one module.
function(kestrova_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${KESTROVA_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# kestrova_test(NAME SOURCES ... LIBS ...): a GoogleTest executable registered with CTest.
# Each test runs with XDG_DATA_HOME and XDG_CONFIG_HOME pointing into the build tree's
# scratch folder, so no test ever touches the real home folder.
function(kestrova_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${KESTROVA_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set(scratch ${CMAKE_BINARY_DIR}/test-home/${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "XDG_DATA_HOME=${scratch}/data;XDG_CONFIG_HOME=${scratch}/config;KESTROVA_TEST_TMP=${scratch}/tmp")
endfunction()

# kestrova_fuzzer(NAME SOURCES ... LIBS ...): a libFuzzer target, built only with KESTROVA_FUZZ.
function(kestrova_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY KESTROVA_FUZZERS ${name})
endfunction()

# kestrova_test_helper(TEST NAME SOURCE DEFINE LIBS ...): a second program that the test TEST
# starts as another process; its path reaches the test as the macro DEFINE.
function(kestrova_test_helper test name source define)
  add_executable(${name} ${source})
  target_compile_options(${name} PRIVATE ${KESTROVA_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARGN})
  add_dependencies(${test} ${name})
  target_compile_definitions(${test} PRIVATE ${define}="$<TARGET_FILE:${name}>")
endfunction()
