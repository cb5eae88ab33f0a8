# sr_links_qt(OUT target...): whether any of the targets reaches Qt's GUI through its link
# libraries (directly or through other targets of ours).
function(sr_links_qt out)
  set(pending ${ARGN})
  set(seen "")
  while(pending)
    list(POP_FRONT pending item)
    if(item MATCHES "^\\$<LINK_ONLY:(.+)>$")
      set(item ${CMAKE_MATCH_1})
    endif()
    if(item MATCHES "^Qt6?::(Gui|Widgets|PrintSupport|Test)$")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
    if(NOT TARGET ${item} OR item IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${item})
    get_target_property(type ${item} TYPE)
    get_target_property(libs ${item} INTERFACE_LINK_LIBRARIES)
    if(libs)
      list(APPEND pending ${libs})
    endif()
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(libs ${item} LINK_LIBRARIES)
      if(libs)
        list(APPEND pending ${libs})
      endif()
    endif()
  endwhile()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

# sr_test(NAME sources... LIBS libs... [OWN_MAIN] [NOT_ON_WINDOWS cases...]): a GoogleTest program
# whose cases CTest lists one by one. OWN_MAIN: one of the sources or libraries has the main (else
# GoogleTest's does). NOT_ON_WINDOWS: cases (Suite.Name) that the Windows build leaves out.
# A program that links Qt's GUI runs on Qt's offscreen platform, so that a plain `ctest` passes
# on a machine without a display and never opens windows on one that has one; and a case of it
# that waits for ever is stopped (its dialogs have a watchdog of their own, well within this).
function(sr_test name)
  cmake_parse_arguments(ARG "OWN_MAIN" "" "LIBS;NOT_ON_WINDOWS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set(platform "")
  sr_links_qt(uses_qt ${ARG_LIBS})
  if(uses_qt)
    set(platform ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=set:offscreen" TIMEOUT 120)
  endif()
  # A cross-built test program lists its cases through Wine, whose start can take seconds.
  set(discovery "")
  if(CMAKE_CROSSCOMPILING)
    set(discovery DISCOVERY_TIMEOUT 120)
  endif()
  if(WIN32 AND ARG_NOT_ON_WINDOWS)
    list(JOIN ARG_NOT_ON_WINDOWS ":" excluded)
    list(APPEND discovery TEST_FILTER "-${excluded}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST ${discovery}
                       PROPERTIES ENVIRONMENT "SR_SOURCE_DIR=${CMAKE_SOURCE_DIR}" ${platform})
endfunction()

# sr_module(NAME sources... LIBS libs...): a shared module that the program loads on first use
# (platform/modules), built beside the program so that the program, the run command and the
# tests find it. Only its entry function is exported; the static libraries it takes in stay its
# own and must be built position-independent.
function(sr_module name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_library(${name} MODULE ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${SR_MODULE_DIR}
                                           CXX_VISIBILITY_PRESET hidden)
  target_link_options(${name} PRIVATE -Wl,--exclude-libs,ALL -Wl,--no-undefined)
  set_property(GLOBAL APPEND PROPERTY SR_MODULES ${name})
endfunction()
