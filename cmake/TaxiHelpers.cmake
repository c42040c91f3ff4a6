# One test executable per unit folder: every .cpp file of the folder goes in.
# taxi_add_test_dir(<name> LIBS <libs...> [QT_MAIN] [LOOPBACK_NAMESPACE] [TIMEOUT <seconds>]
#                   [LABELS <labels...>])
# QT_MAIN: the test support's main() with a QApplication (offscreen) and the shared
# fixtures, instead of GoogleTest's plain main().
# LOOPBACK_NAMESPACE: the test runs in a network namespace that has only loopback, as
# tests against real peers (support/peers) must.
function(taxi_add_test_dir name)
  cmake_parse_arguments(ARG "QT_MAIN;LOOPBACK_NAMESPACE" "TIMEOUT" "LIBS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(test_${name} ${sources})
  if(ARG_QT_MAIN)
    target_link_libraries(test_${name} PRIVATE ${ARG_LIBS} taxi_test_main)
  else()
    target_link_libraries(test_${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  if(ARG_LOOPBACK_NAMESPACE)
    add_test(NAME ${name} COMMAND sh ${CMAKE_SOURCE_DIR}/tests/support/peers/in-loopback-namespace.sh
             $<TARGET_FILE:test_${name}>)
  else()
    add_test(NAME ${name} COMMAND test_${name})
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TAXI_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()

# A small program in bench/ that prints its figures.
function(taxi_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(bench_${name} ${ARG_SOURCES})
  target_link_libraries(bench_${name} PRIVATE ${ARG_LIBS})
endfunction()
