# The host shell on a private Xvfb: in-process tests of frame and view, and
# the program itself (screenshots checked by colour).
add_executable(test_shell test_shell.cpp)
target_link_libraries(test_shell PRIVATE shell png_file GTest::gtest)
# The window is compared with what panel-snapshot renders.
add_dependencies(test_shell panel-snapshot)
target_compile_definitions(test_shell PRIVATE PANEL_SNAPSHOT="$<TARGET_FILE:panel-snapshot>"
  PANEL_TEST_OUTPUT="${PANEL_TEST_OUTPUT}")
# Its many cases share one process: under the sanitizers it takes over a minute.
add_test(NAME test_shell COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/with_xvfb.sh $<TARGET_FILE:test_shell>)
set_tests_properties(test_shell PROPERTIES TIMEOUT 300 ${GL_ERRORS_FAIL})

set(WITH_XVFB ${CMAKE_CURRENT_SOURCE_DIR}/with_xvfb.sh)
set(PROGRAM_TEST ${CMAKE_CURRENT_SOURCE_DIR}/test_program_xvfb.sh)
add_test(NAME program_shows_the_display
  COMMAND ${WITH_XVFB} ${PROGRAM_TEST} $<TARGET_FILE:instrument-panel> ${PANEL_TEST_OUTPUT} full)
add_test(NAME program_fits_a_small_screen
  COMMAND ${CMAKE_COMMAND} -E env XVFB_SCREEN=800x600x24
          ${WITH_XVFB} ${PROGRAM_TEST} $<TARGET_FILE:instrument-panel> ${PANEL_TEST_OUTPUT} small)
add_test(NAME program_takes_its_place_without_bars
  COMMAND ${WITH_XVFB} ${PROGRAM_TEST} $<TARGET_FILE:instrument-panel> ${PANEL_TEST_OUTPUT} placed)
# At twice the scale the view still counts in physical pixels.
add_test(NAME program_on_a_scaled_screen
  COMMAND ${CMAKE_COMMAND} -E env XVFB_SCREEN=1700x2400x24 GDK_SCALE=2
          ${WITH_XVFB} ${PROGRAM_TEST} $<TARGET_FILE:instrument-panel> ${PANEL_TEST_OUTPUT}/scaled full)
set_tests_properties(program_shows_the_display program_fits_a_small_screen program_on_a_scaled_screen
  program_takes_its_place_without_bars
  PROPERTIES TIMEOUT 60 ${GL_ERRORS_FAIL})

# Without an X display the program ends at once with a non-zero status; a
# backend the user chose is kept, even one that cannot work here.
add_test(NAME program_without_display_fails
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY $<TARGET_FILE:instrument-panel>)
add_test(NAME program_keeps_the_users_backend
  COMMAND ${CMAKE_COMMAND} -E env GDK_BACKEND=wayland ${WITH_XVFB} $<TARGET_FILE:instrument-panel>)
set_tests_properties(program_without_display_fails program_keeps_the_users_backend PROPERTIES
  WILL_FAIL TRUE TIMEOUT 30)

# An X server without GLX: a line on stderr says so, the status is non-zero.
add_test(NAME program_without_glx_says_so
  COMMAND ${CMAKE_COMMAND} -E env "XVFB_ARGS=-extension GLX"
          ${WITH_XVFB} ${CMAKE_CURRENT_SOURCE_DIR}/test_program_no_glx.sh $<TARGET_FILE:instrument-panel>)
set_tests_properties(program_without_glx_says_so PROPERTIES TIMEOUT 30)
# The same server with --renderer cpu: the program needs no OpenGL at all.
add_test(NAME program_draws_on_the_processor_without_glx
  COMMAND ${CMAKE_COMMAND} -E env "XVFB_ARGS=-extension GLX"
          ${WITH_XVFB} ${CMAKE_CURRENT_SOURCE_DIR}/test_program_cpu_xvfb.sh $<TARGET_FILE:instrument-panel>
          ${PANEL_TEST_OUTPUT}/cpu)
set_tests_properties(program_draws_on_the_processor_without_glx PROPERTIES TIMEOUT 60)
# Without --renderer the program chooses the processor by itself: where GLX
# is missing, and on Xvfb's GLX, which is Mesa's software rasteriser llvmpipe.
add_test(NAME program_chooses_the_processor_without_glx
  COMMAND ${CMAKE_COMMAND} -E env "XVFB_ARGS=-extension GLX"
          ${WITH_XVFB} ${CMAKE_CURRENT_SOURCE_DIR}/test_program_cpu_xvfb.sh $<TARGET_FILE:instrument-panel>
          ${PANEL_TEST_OUTPUT}/auto-no-glx auto)
add_test(NAME program_chooses_the_processor_on_llvmpipe
  COMMAND ${WITH_XVFB} ${CMAKE_CURRENT_SOURCE_DIR}/test_program_cpu_xvfb.sh $<TARGET_FILE:instrument-panel>
          ${PANEL_TEST_OUTPUT}/auto-llvmpipe auto)
set_tests_properties(program_chooses_the_processor_without_glx program_chooses_the_processor_on_llvmpipe
  PROPERTIES TIMEOUT 60)

# No fonts at all: the font failure is said on stderr (no message box the
# toolkit cannot lay out), by the program and by panel-snapshot alike.
add_test(NAME program_without_fonts_says_so
  COMMAND ${WITH_XVFB} ${CMAKE_CURRENT_SOURCE_DIR}/test_without_fonts.sh $<TARGET_FILE:instrument-panel>)
add_test(NAME panel_snapshot_without_fonts_says_only_so
  COMMAND ${CMAKE_COMMAND} -E env TOOL_ONLY_LINE=1
          ${CMAKE_CURRENT_SOURCE_DIR}/test_without_fonts.sh $<TARGET_FILE:panel-snapshot> -o nofonts.png)
set_tests_properties(program_without_fonts_says_so panel_snapshot_without_fonts_says_only_so PROPERTIES
  TIMEOUT 60)

unit_test(test_view_logic)
target_link_libraries(test_view_logic PRIVATE view_logic)

# Closing while a display slower than the frame cycle runs: through the
# menu, Alt+F4 and the close button, with either renderer.
instrument_panel_add_display(module_slow_display SOURCES modules/slow_display.c)
find_package(X11 REQUIRED)
add_executable(close_window_x11 close_window_x11.c)
target_link_libraries(close_window_x11 PRIVATE X11::X11)
foreach(renderer gl cpu)
  foreach(way menu keys button)
    add_test(NAME program_closes_while_drawing_slowly_${renderer}_${way}
      COMMAND ${WITH_XVFB} ${CMAKE_CURRENT_SOURCE_DIR}/test_program_closes_xvfb.sh $<TARGET_FILE:instrument-panel>
              $<TARGET_FILE:module_slow_display> $<TARGET_FILE:close_window_x11> ${PANEL_TEST_OUTPUT}/closing
              ${renderer} ${way})
    set_tests_properties(program_closes_while_drawing_slowly_${renderer}_${way} PROPERTIES TIMEOUT 60)
  endforeach()
endforeach()

unit_test(test_display_placement)
target_link_libraries(test_display_placement PRIVATE display_option)
unit_test(test_touch_ids)
target_link_libraries(test_touch_ids PRIVATE touch_ids)

unit_test(test_renderer_choice)
target_link_libraries(test_renderer_choice PRIVATE display_option)

# The program subscribed to a broker of the test's own (mosquitto on ports
# the system chose), against panel-snapshot's frames of the same values.
add_executable(free-ports free_ports.cpp)
add_test(NAME program_over_mqtt
  COMMAND ${WITH_XVFB} ${CMAKE_CURRENT_SOURCE_DIR}/program_over_mqtt.sh $<TARGET_FILE:instrument-panel>
          $<TARGET_FILE:panel-snapshot> $<TARGET_FILE:panel-feed> $<TARGET_FILE:flight-display>
          $<TARGET_FILE:free-ports> ${CMAKE_CURRENT_SOURCE_DIR}/mqtt/mosquitto.conf.in ${PANEL_TEST_OUTPUT}/mqtt-program)
set_tests_properties(program_over_mqtt PROPERTIES TIMEOUT 300)
