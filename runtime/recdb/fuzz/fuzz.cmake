# Reliability of the record database: damaged files, opened and read on a disk in memory.
#
# The libFuzzer target recdb_fuzz_open is built only with clang and -DSR_FUZZ=ON, in a build
# folder of its own (docs/regdb.md, "Fuzzing"). The replay of the kept corpus runs in every build.
option(SR_FUZZ "Build the libFuzzer target of the record database (clang only)" OFF)

add_library(sr_recdb_fuzz_support ${CMAKE_CURRENT_LIST_DIR}/open_and_read.cpp)
target_link_libraries(sr_recdb_fuzz_support PUBLIC sr_recdb sr_fs)

sr_test(recdb_regression_tests
  ${CMAKE_CURRENT_LIST_DIR}/../tests/regression/corpus_replay_test.cpp
  LIBS sr_recdb_fuzz_support)
target_compile_definitions(recdb_regression_tests PRIVATE
  SR_FUZZ_CORPUS_DIR="${CMAKE_CURRENT_LIST_DIR}/corpus"
  SR_FUZZ_CRASH_DIR="${CMAKE_CURRENT_LIST_DIR}/../tests/regression/crashes")

if(SR_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "SR_FUZZ needs clang: CC=clang CXX=clang++ cmake -DSR_FUZZ=ON ...")
  endif()
  # clang cannot compile to GBK; the fuzzed code does not depend on the bytes of its messages.
  # Each library on the way is instrumented for coverage.
  foreach(target sr_base sr_convert sr_fs sr_recdb sr_recdb_fuzz_support)
    get_target_property(options ${target} COMPILE_OPTIONS)
    list(REMOVE_ITEM options -fexec-charset=GBK)
    set_target_properties(${target} PROPERTIES COMPILE_OPTIONS "${options}")
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  endforeach()
  foreach(tool recdb_fuzz_open recdb_make_seeds)
    if(tool STREQUAL recdb_fuzz_open)
      add_executable(${tool} ${CMAKE_CURRENT_LIST_DIR}/fuzz_open.cpp)
      target_link_options(${tool} PRIVATE -fsanitize=fuzzer,address,undefined)
    else()
      add_executable(${tool} ${CMAKE_CURRENT_LIST_DIR}/make_seeds.cpp)
      target_link_options(${tool} PRIVATE -fsanitize=address,undefined)
    endif()
    get_target_property(options ${tool} COMPILE_OPTIONS)
    list(REMOVE_ITEM options -fexec-charset=GBK)
    set_target_properties(${tool} PROPERTIES COMPILE_OPTIONS "${options}")
    target_compile_options(${tool} PRIVATE -fsanitize=address,undefined)
    target_link_libraries(${tool} PRIVATE sr_recdb_fuzz_support)
  endforeach()
endif()
