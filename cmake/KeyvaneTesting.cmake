# Test registration helpers. Labels:
#   unit  - GoogleTest, no display needed (also run under the sanitizers)
#   gui   - Qt Test on the offscreen platform
#   wine  - appletgate under Wine
#   fuzz  - bounded libFuzzer runs (sanitizer build only)
#   bench - benchmarks; left out of the default run (ctest -LE bench)
find_package(GTest REQUIRED)

# kv_add_gtest(NAME SOURCES ... [LIBS ...] [LABELS ...] [TIMEOUT s])
function(kv_add_gtest name)
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE keyvane_testsupport GTest::gtest ${A_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "unit;${A_LABELS}" TIMEOUT ${A_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# kv_add_qtest(NAME SOURCES ... [LIBS ...] [CLASSES ...] [TIMEOUT s])
# With CLASSES, each test class is a CTest entry of its own, NAME_<class>,
# running `NAME <class>`: a failure names its class, and classes run in
# parallel. The executable's main takes the class name as its first argument.
function(kv_add_qtest name)
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS;LABELS;CLASSES" ${ARGN})
  if(NOT KEYVANE_GUI)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE keyvane_testsupport Qt6::Test Qt6::Widgets ${A_LIBS})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  set(entries)
  if(A_CLASSES)
    foreach(class ${A_CLASSES})
      add_test(NAME ${name}_${class} COMMAND ${name} ${class})
      list(APPEND entries ${name}_${class})
    endforeach()
  else()
    add_test(NAME ${name} COMMAND ${name})
    set(entries ${name})
  endif()
  set_tests_properties(${entries} PROPERTIES LABELS "gui;${A_LABELS}" TIMEOUT ${A_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# kv_add_bench(NAME SOURCES ... [LIBS ...]) - prints "BENCH <name> <value> <unit> goal <goal>" lines.
function(kv_add_bench name)
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  target_link_libraries(${name} PRIVATE keyvane_testsupport ${A_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 1200)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS bench TIMEOUT ${A_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# kv_add_fuzz(NAME SOURCES ... [LIBS ...] CORPUS dir)
# With KEYVANE_FUZZ (clang) it is a libFuzzer target, run for a bounded time as
# a test; otherwise the same entry point is linked with a small driver that
# replays the corpus, so every build checks the corpus files still pass.
function(kv_add_fuzz name)
  cmake_parse_arguments(A "" "CORPUS;SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT A_SECONDS)
    set(A_SECONDS 60)
  endif()
  add_executable(${name} ${A_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  if(KEYVANE_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(work ${CMAKE_BINARY_DIR}/fuzz/${name}-corpus)
    add_test(NAME ${name}
      COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
              $<TARGET_FILE:${name}> -max_total_time=${A_SECONDS} -max_len=1024 -timeout=10 ${work} ${A_CORPUS})
    set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 600 FIXTURES_REQUIRED ${name}_dir)
    add_test(NAME ${name}_dir COMMAND ${CMAKE_COMMAND} -E make_directory ${work})
    set_tests_properties(${name}_dir PROPERTIES FIXTURES_SETUP ${name}_dir LABELS fuzz)
  else()
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/fuzz/replay_main.cpp)
    add_test(NAME ${name} COMMAND ${name} ${A_CORPUS})
    set_tests_properties(${name} PROPERTIES LABELS "unit" TIMEOUT 120)
  endif()
endfunction()
