# instrument_panel_add_display(<target> SOURCES <file>... [IMAGES <file>...])
#
# Builds a display module: a shared module linked against InstrumentPanel::gr
# that exports only grDisplayDescriptor (GR_EXPORT_DISPLAY in gr_display.h).
# The module file is <target>.so (<target>.dll on Windows); the IMAGES are
# copied beside it, where the runtime resolves the relative image names of
# the display's tables.
function(instrument_panel_add_display target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;IMAGES")
  if(NOT arg_SOURCES)
    message(FATAL_ERROR "instrument_panel_add_display(${target}): SOURCES is empty")
  endif()
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "instrument_panel_add_display(${target}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  add_library(${target} MODULE ${arg_SOURCES})
  target_link_libraries(${target} PRIVATE InstrumentPanel::gr)
  # A project in C alone has no C++ standard to ask for.
  get_property(languages GLOBAL PROPERTY ENABLED_LANGUAGES)
  if(CXX IN_LIST languages)
    target_compile_features(${target} PRIVATE cxx_std_17)
  endif()
  # Several displays may share names such as DrawDisplay; none may leak,
  # whether the module is written in C++ or in C.
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    CXX_VISIBILITY_PRESET hidden
    C_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(NOT WIN32)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  elseif(MINGW)
    # The module carries its C and C++ runtimes, as the SDK's DLL does: no
    # MinGW runtime DLL need lie beside it.
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
  foreach(image IN LISTS arg_IMAGES)
    get_filename_component(source ${image} ABSOLUTE)
    get_filename_component(name ${image} NAME)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} $<TARGET_FILE_DIR:${target}>/${name}
      VERBATIM)
  endforeach()
endfunction()
