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

# The flight example operated in the kiosk, turned and mirrored, through
# Weston's seat: Weston runs on Xvfb (its headless backend has no input),
# xdotool's pointer, wheel and key reach the kiosk, the outputs reach test
# listeners on 127.0.0.1, the frame shows the values set. On an output of
# scale 2 the kiosk draws every pixel of the same 778 x 1034 window, and
# the same pixels reach the same controls.
foreach(scale 1 2)
  math(EXPR width "778 / ${scale}")
  math(EXPR height "1034 / ${scale}")
  add_test(NAME kiosk_sends_what_the_pilot_sets_at_scale_${scale}
    COMMAND ${CMAKE_COMMAND} -E env WESTON_ON_X=1 WESTON_SIZE=${width}x${height} WESTON_SCALE=${scale}
            ${WITH_XVFB} ${CMAKE_CURRENT_SOURCE_DIR}/with_weston.sh
            ${CMAKE_CURRENT_SOURCE_DIR}/test_kiosk_events_weston.sh $<TARGET_FILE:instrument-panel-kiosk>
            $<TARGET_FILE:panel-snapshot> $<TARGET_FILE:udp_listener> $<TARGET_FILE:flight-display>
            ${PROJECT_SOURCE_DIR}/examples/flight/data ${PANEL_TEST_OUTPUT}/kiosk-events-${scale})
  set_tests_properties(kiosk_sends_what_the_pilot_sets_at_scale_${scale} PROPERTIES TIMEOUT 120)
endforeach()
