# One line per test suite (tests/<name>.cpp).
unit_test(test_pixel_format_table)
unit_test(test_display_model)
recording_test(test_state)
pixel_test(test_renderer)
add_test(NAME panel_snapshot_lists_formats COMMAND panel-snapshot --formats)
set_tests_properties(panel_snapshot_lists_formats PROPERTIES PASS_REGULAR_EXPRESSION "^0 [0-9]+\n")
add_test(NAME panel_snapshot_rejects_bad_arguments COMMAND panel-snapshot --frames zero -o x.png)
set_tests_properties(panel_snapshot_rejects_bad_arguments PROPERTIES WILL_FAIL TRUE)
