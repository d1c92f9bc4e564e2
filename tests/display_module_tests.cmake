# Display modules: refusals of bad modules, the example display loaded by
# the tools, and the example built from the installed package.
instrument_panel_add_display(module_wrong_version SOURCES modules/wrong_version.cpp)
instrument_panel_add_display(module_without_entry SOURCES modules/without_entry.cpp)
instrument_panel_add_display(module_bad_area SOURCES modules/bad_area.cpp)
# Built as interface version 1 was: calling gr by C++ names, which the
# library no longer has, so it is linked against nothing.
add_library(module_version1 MODULE modules/version1.cpp)
set_target_properties(module_version1 PROPERTIES PREFIX "")

# A display in an ordinary shared library, and a module that links to it
# without a descriptor of its own.
add_library(module_entry_library SHARED modules/wrong_version.cpp)
target_link_libraries(module_entry_library PRIVATE InstrumentPanel::gr)
instrument_panel_add_display(module_links_to_display SOURCES modules/links_to_display.cpp)
target_link_libraries(module_links_to_display PRIVATE module_entry_library)

pixel_test(test_display_modules ${PROJECT_SOURCE_DIR}/app/shared/display_option.cpp
  ${PROJECT_SOURCE_DIR}/app/shared/renderer_option.cpp ${PROJECT_SOURCE_DIR}/app/shared/option_value.cpp)
# Loads modules, so it shares their drawing library.
set_target_properties(test_display_modules PROPERTIES GR_STATIC OFF)
target_include_directories(test_display_modules PRIVATE ${PROJECT_SOURCE_DIR}/app/shared)
add_dependencies(test_display_modules flight-display minimal-display module_wrong_version module_without_entry
  module_bad_area module_version1 module_links_to_display panel-snapshot)
target_compile_definitions(test_display_modules PRIVATE
  PANEL_SNAPSHOT="$<TARGET_FILE:panel-snapshot>"
  $<$<TARGET_EXISTS:instrument-panel>:PANEL_PROGRAM="$<TARGET_FILE:instrument-panel>">
  FLIGHT_MODULE="$<TARGET_FILE:flight-display>"
  MINIMAL_MODULE="$<TARGET_FILE:minimal-display>"
  WRONG_VERSION_MODULE="$<TARGET_FILE:module_wrong_version>"
  WITHOUT_ENTRY_MODULE="$<TARGET_FILE:module_without_entry>"
  BAD_AREA_MODULE="$<TARGET_FILE:module_bad_area>"
  VERSION1_MODULE="$<TARGET_FILE:module_version1>"
  LINKS_TO_DISPLAY_MODULE="$<TARGET_FILE:module_links_to_display>")

# The example display's sources with every gr entry point probed, drawn on
# the recording GL.
file(GLOB EXAMPLE_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/flight/*.cpp)
panel_test(test_example_coverage ${EXAMPLE_SOURCES})
target_link_libraries(test_example_coverage PRIVATE gl_recorder gr)
target_include_directories(test_example_coverage PRIVATE ${PROJECT_SOURCE_DIR}/examples/flight)
set_source_files_properties(${EXAMPLE_SOURCES} TARGET_DIRECTORY test_example_coverage PROPERTIES
  COMPILE_OPTIONS "-include;${CMAKE_CURRENT_SOURCE_DIR}/display_probe.h")
target_compile_definitions(test_example_coverage PRIVATE
  GR_HEADER="${PROJECT_SOURCE_DIR}/gfx/gr.h"
  TEST_BINARY_DIR="$<TARGET_FILE_DIR:test_example_coverage>"
  EXAMPLE_FOLDER="${PROJECT_SOURCE_DIR}/examples/flight/")

add_test(NAME installed_package_builds_the_example
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/test_installed_package.sh ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR}
          ${PANEL_TEST_OUTPUT}/installed-package)
set_tests_properties(installed_package_builds_the_example PROPERTIES TIMEOUT 300)

# Golden frames of both displays and the guide's reference pictures,
# rendered by panel-snapshot.
panel_test(test_goldens)
target_link_libraries(test_goldens PRIVATE png_file)
add_dependencies(test_goldens panel-snapshot flight-display clip-operations-picture text-alignment-picture)
target_compile_definitions(test_goldens PRIVATE
  PANEL_SNAPSHOT="$<TARGET_FILE:panel-snapshot>"
  FLIGHT_MODULE="$<TARGET_FILE:flight-display>"
  FLIGHT_DATA_DIR="${PROJECT_SOURCE_DIR}/examples/flight/data"
  CLIP_PICTURE_MODULE="$<TARGET_FILE:clip-operations-picture>"
  TEXT_PICTURE_MODULE="$<TARGET_FILE:text-alignment-picture>"
  GOLDEN_DIR="${CMAKE_CURRENT_SOURCE_DIR}/goldens"
  PICTURE_DIR="${PROJECT_SOURCE_DIR}/docs/pictures")
also_on_backends(test_goldens es3 es2 cpu)

# The example in the program's window.
add_test(NAME program_shows_a_display_module
  COMMAND ${WITH_XVFB} ${PROGRAM_TEST} $<TARGET_FILE:instrument-panel> ${PANEL_TEST_OUTPUT} module
          $<TARGET_FILE:flight-display>)
set_tests_properties(program_shows_a_display_module PROPERTIES TIMEOUT 60)

# The example operated with the mouse and a key in the program's window:
# its outputs reach listeners on 127.0.0.1 in the three formats, and the
# view shows what panel-snapshot draws with the same values.
add_executable(udp_listener udp_listener.cpp)
target_link_libraries(udp_listener PRIVATE data_feed)
add_test(NAME program_sends_what_the_pilot_sets
  COMMAND ${WITH_XVFB} ${CMAKE_CURRENT_SOURCE_DIR}/test_program_events_xvfb.sh $<TARGET_FILE:instrument-panel>
          $<TARGET_FILE:panel-snapshot> $<TARGET_FILE:udp_listener> $<TARGET_FILE:flight-display>
          ${PROJECT_SOURCE_DIR}/examples/flight/data ${PANEL_TEST_OUTPUT}/program-events)
set_tests_properties(program_sends_what_the_pilot_sets PROPERTIES TIMEOUT 120)

# A display whose image cannot be loaded: the error box, answered, ends the
# program with status 1, whichever renderer draws.
foreach(renderer gl cpu)
  add_test(NAME program_ends_with_1_after_its_error_box_${renderer}
    COMMAND ${WITH_XVFB} ${CMAKE_CURRENT_SOURCE_DIR}/test_program_error_box.sh $<TARGET_FILE:instrument-panel>
            $<TARGET_FILE:flight-display> ${PANEL_TEST_OUTPUT}/error-box-${renderer} --renderer ${renderer})
  set_tests_properties(program_ends_with_1_after_its_error_box_${renderer} PROPERTIES TIMEOUT 60)
endforeach()

# The authors' guide shows its running example, in C++ and in C, exactly as
# it is built.
foreach(language cpp c)
  add_test(NAME authors_guide_shows_the_minimal_display_${language}
    COMMAND sh -c "awk '/<!-- examples.minimal.minimal_display.${language} -->/ { found = 1; next } found && /^```${language}/ { code = 1; next } code && /^```/ { exit } code' docs/DISPLAY-AUTHORS.md | diff -u examples/minimal/minimal_display.${language} -"
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
endforeach()

# What leaves the shared library and the modules: the declared gr API, and
# a module's entry alone, whichever language the module is written in.
find_program(PANEL_CXXFILT c++filt REQUIRED)
add_test(NAME gr_library_exports_the_gr_api
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/gr_exports.sh so ${CMAKE_NM} ${PANEL_CXXFILT} $<TARGET_FILE:gr_shared>
          ${PROJECT_SOURCE_DIR}/gfx/gr.h ${PROJECT_SOURCE_DIR}/gfx/gr_display.h)
instrument_panel_add_display(module_written_in_c SOURCES modules/c_exports.c)
# The headers are clean C: a C display compiles with every prototype
# complete, under the strictest warnings an author may turn on.
add_test(NAME headers_compile_as_strict_c
  COMMAND ${CMAKE_C_COMPILER} -std=c11 -Wall -Wextra -Wstrict-prototypes -Wold-style-definition -pedantic
          -Werror -fsyntax-only -I${PROJECT_SOURCE_DIR}/gfx ${PROJECT_SOURCE_DIR}/examples/minimal/minimal_display.c)
add_test(NAME display_modules_export_their_entry_only
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/module_exports.sh ${CMAKE_NM} $<TARGET_FILE:minimal-display>
          $<TARGET_FILE:flight-display> $<TARGET_FILE:module_written_in_c>)
