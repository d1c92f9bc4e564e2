# Recordings survive SIGINT and SIGTERM in every host that records: the
# headless panel-snapshot, the program under Xvfb and the kiosk under a
# headless Weston, each recording the flight example's replay.
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
if(TARGET instrument-panel-kiosk)
  # On the processor: the recording is what counts, and the GL driver that
  # eglTerminate unloads leaves allocations the leak checker cannot name.
  add_test(NAME kiosk_recording_survives_signals
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/with_weston.sh ${RECORDING_SIGNALS} $<TARGET_FILE:instrument-panel-kiosk>
            --renderer cpu)
  set_tests_properties(kiosk_recording_survives_signals PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 77)
endif()
# A --data SOURCE of the wrong shape, or --record without a source, is a bad
# command line (status 2, the usage on stderr); a source that cannot open is
# refused (status 1).
add_test(NAME panel_snapshot_data_option_statuses
  COMMAND sh -c "\"$0\" --data udp:nonsense -o x.png 2>&1 | grep -q '^usage: panel-snapshot' || exit 1; \"$0\" --data udp:nonsense -o x.png 2>/dev/null; [ $? -eq 2 ] || exit 1; \"$0\" --record r.csv -o x.png 2>/dev/null; [ $? -eq 2 ] || exit 1; \"$0\" --data replay:/nonexistent.csv -o x.png 2>/dev/null; [ $? -eq 1 ]"
          $<TARGET_FILE:panel-snapshot>)
