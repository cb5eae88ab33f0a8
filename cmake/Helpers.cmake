# sr_test(NAME sources... LIBS libs...): a GoogleTest program whose cases CTest lists one by one.
function(sr_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT "SR_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
