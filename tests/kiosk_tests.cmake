# The seat's input in display units, without a compositor.
unit_test(test_kiosk_input)
target_link_libraries(test_kiosk_input PRIVATE kiosk_input)

# The kiosk host under a private headless Weston, its frames compared with
# panel-snapshot's.
panel_test(test_kiosk)
target_link_libraries(test_kiosk PRIVATE png_file kiosk_options)
add_dependencies(test_kiosk instrument-panel-kiosk panel-snapshot flight-display panel-feed)
target_compile_definitions(test_kiosk PRIVATE
  PANEL_KIOSK="$<TARGET_FILE:instrument-panel-kiosk>"
  PANEL_FEED="$<TARGET_FILE:panel-feed>"
  MQTT_TEST_DIR="${CMAKE_CURRENT_SOURCE_DIR}/mqtt"
  PANEL_SNAPSHOT="$<TARGET_FILE:panel-snapshot>"
  FLIGHT_MODULE="$<TARGET_FILE:flight-display>")

# A device's build: the kiosk without the desktop toolkit.
add_test(NAME kiosk_builds_without_the_desktop_toolkit
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/test_kiosk_without_desktop.sh ${PROJECT_SOURCE_DIR}
          ${CMAKE_BINARY_DIR}/kiosk-only)
set_tests_properties(kiosk_builds_without_the_desktop_toolkit PROPERTIES TIMEOUT 120)
