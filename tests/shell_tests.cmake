# The host shell on a private Xvfb: in-process tests of frame and view, and
# the program itself (screenshots checked by colour).
add_executable(test_shell test_shell.cpp)
target_link_libraries(test_shell PRIVATE shell png_file GTest::gtest)
# The window is compared with what panel-snapshot renders.
add_dependencies(test_shell panel-snapshot)
target_compile_definitions(test_shell PRIVATE PANEL_SNAPSHOT="$<TARGET_FILE:panel-snapshot>"
  PANEL_TEST_OUTPUT="${PANEL_TEST_OUTPUT}")
add_test(NAME test_shell COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/with_xvfb.sh $<TARGET_FILE:test_shell>)
set_tests_properties(test_shell PROPERTIES TIMEOUT 120 ${GL_ERRORS_FAIL})

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

unit_test(test_display_placement)
target_link_libraries(test_display_placement PRIVATE display_option)
