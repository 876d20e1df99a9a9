# Helpers shared by the folders' CMakeLists.

# quorvel_test_area(AREA [LIBS ...]): one test binary per folder under tests/, built from
# every *_test.cpp in it, linked to the core library, the shared test support and GoogleTest.
function(quorvel_test_area area)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${area}/*_test.cpp)
  if(NOT sources)
    return()
  endif()
  set(target ${area}_tests)
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE quorvel_test_support quorvel_core GTest::gtest_main
                                          GTest::gmock ${ARGN})
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
                       PROPERTIES LABELS "unit;${area}" TIMEOUT 300)
endfunction()
