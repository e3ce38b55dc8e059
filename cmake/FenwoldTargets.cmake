# Warnings shared by every target of the project.
function(fenwold_warnings target)
  if(MSVC)
    return()
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(APPLE)
    # A call newer than the deployment target must sit behind an availability check.
    target_compile_options(${target} PRIVATE -Wunguarded-availability -Wdeprecated-declarations)
  endif()
  if(FENWOLD_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# fenwold_add_test(<name> SOURCES <files...>): one GoogleTest executable registered with CTest,
# its tests labelled with the executable's name so that a run can pick the executables it built.
function(fenwold_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE fenwold_testsupport ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  fenwold_warnings(${name})
  include(GoogleTest)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS ${name})
endfunction()
