# Tests of the Linux system services; included by linux/services.cmake.
find_package(GTest REQUIRED)

function(horatta_services_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE horatta_linux_services GTest::gtest)
  target_compile_options(${name} PRIVATE ${HORATTA_WARNINGS})
  add_test(NAME linux.${name} COMMAND ${name})
  set_tests_properties(linux.${name} PROPERTIES LABELS linux TIMEOUT 60)
endfunction()

# Sound and the hot key's rules, without a display or a bus. ALSA reads its configuration
# once per process: the sound tests set theirs before main.
horatta_services_test(sound_and_keys ${CMAKE_CURRENT_LIST_DIR}/sound_test.cpp ${CMAKE_CURRENT_LIST_DIR}/hot_key_test.cpp)
target_link_libraries(sound_and_keys PRIVATE GTest::gtest_main)
target_compile_definitions(sound_and_keys PRIVATE HORATTA_E2E_DIR="${HORATTA_SOURCE_ROOT}/tests/e2e")

# Starts dbus-daemons of its own and the fake login manager.
horatta_services_test(login_manager ${CMAKE_CURRENT_LIST_DIR}/login_manager_test.cpp)
target_compile_definitions(login_manager PRIVATE HORATTA_E2E_DIR="${HORATTA_SOURCE_ROOT}/tests/e2e"
  HORATTA_FAKE_LOGIN_MANAGER="$<TARGET_FILE:fake_login_manager>")
add_dependencies(login_manager fake_login_manager)
set_tests_properties(linux.login_manager PROPERTIES ENVIRONMENT "DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/horatta-tests")
