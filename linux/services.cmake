# The system services of the Linux programs: the speaker (ALSA), the power-off (the login
# manager over D-Bus) and the global hot key (X11), each as its own unit.
#
# Include it once from the Linux shell's CMakeLists.txt; it defines the static library
# horatta_linux_services and, with HORATTA_TESTS, the tests of these units (their login
# manager test runs the fake one tests/e2e builds).
include_guard(GLOBAL)

find_package(Qt6 COMPONENTS Core Gui DBus QUIET)
find_package(ALSA QUIET)
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(HORATTA_XCB IMPORTED_TARGET xcb xkbcommon xkbcommon-x11)
endif()
if(NOT (Qt6_FOUND AND ALSA_FOUND AND HORATTA_XCB_FOUND))
  message(WARNING "Qt 6 (Core, Gui, DBus), ALSA, xcb or xkbcommon development files are missing: "
                  "the Linux system services are not built (scripts/setup installs them)")
  return()
endif()

set(HORATTA_SERVICES_DIR ${CMAKE_CURRENT_LIST_DIR})
get_filename_component(HORATTA_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

add_library(horatta_linux_services STATIC
  ${HORATTA_SERVICES_DIR}/sound/tone.cpp
  ${HORATTA_SERVICES_DIR}/sound/beeper.cpp
  ${HORATTA_SERVICES_DIR}/sound/alsa_output.cpp
  ${HORATTA_SERVICES_DIR}/sound/tone_thread.cpp
  ${HORATTA_SERVICES_DIR}/power/login_manager.cpp
  ${HORATTA_SERVICES_DIR}/hotkey/chord_text.cpp
  ${HORATTA_SERVICES_DIR}/hotkey/key_grabs.cpp
  ${HORATTA_SERVICES_DIR}/hotkey/hot_key_gate.cpp
  ${HORATTA_SERVICES_DIR}/hotkey/x11_hot_key.cpp)
target_include_directories(horatta_linux_services PUBLIC ${HORATTA_SOURCE_ROOT})
target_link_libraries(horatta_linux_services
  PUBLIC Qt6::Core Qt6::Gui Qt6::DBus
  PUBLIC PkgConfig::HORATTA_XCB
  PRIVATE ALSA::ALSA)
target_compile_options(horatta_linux_services PRIVATE ${HORATTA_WARNINGS})

if(HORATTA_TESTS)
  include(${HORATTA_SOURCE_ROOT}/linux/tests/services_tests.cmake)
endif()
