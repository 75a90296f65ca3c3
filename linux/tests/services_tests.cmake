# Tests of the Linux system services; included by linux/services.cmake.
find_package(GTest REQUIRED)
include(GoogleTest)

set(HORATTA_SERVICES_TESTS_DIR ${CMAKE_CURRENT_LIST_DIR})
set(HORATTA_E2E_DIR ${HORATTA_SOURCE_ROOT}/tests/e2e)

# Private stand-ins for the display, the system bus and the login manager.
add_library(horatta_e2e_sandbox STATIC ${HORATTA_E2E_DIR}/support/sandbox.cpp)
target_include_directories(horatta_e2e_sandbox PUBLIC ${HORATTA_E2E_DIR}/support)
target_link_libraries(horatta_e2e_sandbox PUBLIC Qt6::Core)
target_compile_definitions(horatta_e2e_sandbox PRIVATE
  HORATTA_E2E_DIR="${HORATTA_E2E_DIR}"
  HORATTA_FAKE_LOGIN_MANAGER="$<TARGET_FILE:fake_login_manager>")
target_compile_options(horatta_e2e_sandbox PRIVATE ${HORATTA_WARNINGS})
add_dependencies(horatta_e2e_sandbox fake_login_manager)

function(horatta_services_test name)
  add_executable(${name} ${ARGN})
  target_include_directories(${name} PRIVATE ${HORATTA_SERVICES_TESTS_DIR})
  target_link_libraries(${name} PRIVATE horatta_linux_services horatta_e2e_sandbox GTest::gtest)
  target_compile_options(${name} PRIVATE ${HORATTA_WARNINGS})
endfunction()

# Without a display or a bus of their own.
horatta_services_test(horatta_sound_tests
  ${HORATTA_SERVICES_TESTS_DIR}/tone_test.cpp
  ${HORATTA_SERVICES_TESTS_DIR}/beeper_test.cpp
  ${HORATTA_SERVICES_TESTS_DIR}/key_grabs_test.cpp)
target_link_libraries(horatta_sound_tests PRIVATE GTest::gtest_main)
gtest_discover_tests(horatta_sound_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS linux)

# ALSA reads its configuration once per process, so this one runs on its own.
horatta_services_test(horatta_alsa_tests ${HORATTA_SERVICES_TESTS_DIR}/alsa_output_test.cpp)
target_link_libraries(horatta_alsa_tests PRIVATE GTest::gtest_main)
add_test(NAME linux.alsa_output COMMAND horatta_alsa_tests)
set_tests_properties(linux.alsa_output PROPERTIES LABELS linux TIMEOUT 60)

# Each starts its own dbus-daemon or Xvfb, so each runs as one test.
horatta_services_test(horatta_power_tests ${HORATTA_SERVICES_TESTS_DIR}/login_manager_test.cpp)
add_test(NAME linux.login_manager COMMAND horatta_power_tests)
set_tests_properties(linux.login_manager PROPERTIES LABELS "linux;e2e" TIMEOUT 120
  ENVIRONMENT "DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/horatta-tests")

horatta_services_test(horatta_hot_key_tests ${HORATTA_SERVICES_TESTS_DIR}/x11_hot_key_test.cpp)
target_link_libraries(horatta_hot_key_tests PRIVATE PkgConfig::HORATTA_XCB)
add_test(NAME linux.x11_hot_key COMMAND horatta_hot_key_tests)
set_tests_properties(linux.x11_hot_key PROPERTIES LABELS "linux;e2e" TIMEOUT 120)
