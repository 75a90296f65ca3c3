# GoogleTest: the installed package when there is one, otherwise built here from Debian's
# source package (a cross build finds no GoogleTest for its target).
set(HORATTA_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources, used when no installed GoogleTest is found")

find_package(GTest QUIET)
if(NOT GTest_FOUND AND NOT TARGET GTest::gtest)
  if(NOT EXISTS ${HORATTA_GTEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest not found: install it, or set HORATTA_GTEST_SOURCE_DIR to its sources")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${HORATTA_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Its headers are not ours: keep our warnings-as-errors out of them (what SYSTEM does on
  # CMake 3.25 and later).
  foreach(target gtest gtest_main gmock gmock_main)
    if(TARGET ${target})
      get_target_property(dirs ${target} INTERFACE_INCLUDE_DIRECTORIES)
      set_target_properties(${target} PROPERTIES INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${dirs}")
    endif()
  endforeach()
endif()
