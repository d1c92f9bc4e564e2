# Recordings survive SIGINT and SIGTERM in every host that records: the
# headless panel-snapshot and the program under Xvfb, each recording the
# flight example's replay.
set(RECORDING_SIGNALS ${CMAKE_CURRENT_SOURCE_DIR}/recording_signals.sh ${PANEL_TEST_OUTPUT}/recording-signals
  $<TARGET_FILE:panel-snapshot> $<TARGET_FILE:flight-display> ${PROJECT_SOURCE_DIR}/examples/flight/data/recorded-flight.csv)
add_test(NAME panel_snapshot_recording_survives_signals
  COMMAND ${RECORDING_SIGNALS} $<TARGET_FILE:panel-snapshot> --gl cpu --frames 1000000 -o ${PANEL_TEST_OUTPUT}/recording-signals/stopped.png)
set_tests_properties(panel_snapshot_recording_survives_signals PROPERTIES TIMEOUT 120)
if(TARGET instrument-panel)
  add_test(NAME program_recording_survives_signals
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/with_xvfb.sh ${RECORDING_SIGNALS} $<TARGET_FILE:instrument-panel>)
  set_tests_properties(program_recording_survives_signals PROPERTIES TIMEOUT 120)
endif()
