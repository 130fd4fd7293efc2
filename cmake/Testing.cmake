# GoogleTest for both worlds: Debian's library natively, and the same sources compiled with
# MinGW for the Windows builds, whose test programs ctest runs through Wine.
if(WIN32)
  set(BREV_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${BREV_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# brev_add_test(name SOURCES ... LIBS ...): one test program. Natively each case is its own
# ctest test; under Wine the whole program is one test, since listing the cases would start
# Wine once more for every program at build time.
function(brev_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gtest)
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "TZ=UTC;LANG=C.UTF-8" TIMEOUT 300)
  else()
    gtest_discover_tests(${name} PROPERTIES ENVIRONMENT "TZ=UTC;LANG=C.UTF-8" DISCOVERY_TIMEOUT 30)
  endif()
endfunction()
