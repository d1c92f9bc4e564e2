# instrument_panel_add_display(<target> SOURCES <file>... [IMAGES <file>...] [FACES <name>...])
#
# Builds a display module: a shared module linked against InstrumentPanel::gr
# that exports only grDisplayDescriptor (GR_EXPORT_DISPLAY in gr_display.h).
# The module file is <target>.so (<target>.dll on Windows); the IMAGES are
# copied beside it, where the runtime resolves the relative image names of
# the display's tables.
#
# In the browser's build (Emscripten) it builds the display's page instead:
# the display linked into the page host, in PANEL_WEB_PAGES/<target>/ as
# index.html, page.js, page_fit.js, pointer_events.js, mqtt_link.js, mqtt.min.js (the npm
# package mqtt's browser build), <target>.js, <target>.wasm and <target>.data, which
# holds the IMAGES and the faces, and the same three as <target>-simd.*, the
# module with WebAssembly SIMD, which the page loads where the browser has it
# (target <target> builds both). Pages ship Liberation Sans and Liberation
# Sans Narrow (regular and bold); FACES adds others by file name without
# .ttf (LiberationSerif-Italic for "Times New Roman" in italics). A font of
# the display's table whose face the page lacks fails the build with the
# FACES name to add: the page would set it in another face. The desktop
# finds faces with fontconfig and ignores FACES.
function(instrument_panel_add_display target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;IMAGES;FACES")
  if(NOT arg_SOURCES)
    message(FATAL_ERROR "instrument_panel_add_display(${target}): SOURCES is empty")
  endif()
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "instrument_panel_add_display(${target}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(EMSCRIPTEN)
    instrument_panel_add_display_page(${target} "${arg_SOURCES}" "${arg_IMAGES}" "${arg_FACES}")
    return()
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

# The faces every page ships: what "Arial" and "Arial Narrow" resolve to.
set(PANEL_WEB_DEFAULT_FACES LiberationSans-Regular LiberationSans-Bold LiberationSansNarrow-Regular
  LiberationSansNarrow-Bold)

# The browser's variant: one page per display (see above).
function(instrument_panel_add_display_page target sources images faces)
  foreach(face IN LISTS faces)
    if(NOT EXISTS ${PANEL_WEB_FACE_FOLDER}/${face}.ttf)
      file(GLOB known RELATIVE ${PANEL_WEB_FACE_FOLDER} ${PANEL_WEB_FACE_FOLDER}/*.ttf)
      list(TRANSFORM known REPLACE "\\.ttf$" "")
      list(JOIN known " " known)
      message(FATAL_ERROR "instrument_panel_add_display(${target}): FACES ${face}: there is no "
        "${PANEL_WEB_FACE_FOLDER}/${face}.ttf; the faces a page can ship are: ${known}")
    endif()
  endforeach()
  # The display's sources once, for the page and for the check of its faces.
  add_library(${target}-display OBJECT ${sources})
  target_link_libraries(${target}-display PRIVATE InstrumentPanel::gr)
  add_executable(${target}-faces $<TARGET_OBJECTS:${target}-display>)
  target_link_libraries(${target}-faces PRIVATE InstrumentPanel::page_face_check InstrumentPanel::gr_cpu
    InstrumentPanel::gr)
  # One file, the module inside: Emscripten's loader would fetch() a .wasm
  # beside it, which Node's fetch refuses for a path.
  target_link_options(${target}-faces PRIVATE -sENVIRONMENT=node -sEXIT_RUNTIME=1 -sSINGLE_FILE=1
    -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2)
  # Node itself: Emscripten's emulator line adds an option newer Node lacks.
  find_program(PANEL_NODE NAMES node nodejs REQUIRED)
  add_custom_target(${target}-faces-checked ALL
    COMMAND ${PANEL_NODE} $<TARGET_FILE:${target}-faces> ${target}
            ${PANEL_WEB_DEFAULT_FACES} ${faces}
    COMMENT "Checking that the page of ${target} ships every face its fonts name"
    VERBATIM)

  set(page ${PANEL_WEB_PAGES}/${target})
  # The page's files as the module's file system sees them: faces in
  # /fonts, the display's images in /display.
  set(files ${CMAKE_CURRENT_BINARY_DIR}/${target}-files)
  file(REMOVE_RECURSE ${files})
  foreach(face IN LISTS PANEL_WEB_DEFAULT_FACES faces)
    configure_file(${PANEL_WEB_FACE_FOLDER}/${face}.ttf ${files}/fonts/${face}.ttf COPYONLY)
  endforeach()
  foreach(image IN LISTS images)
    get_filename_component(source ${image} ABSOLUTE)
    get_filename_component(name ${image} NAME)
    configure_file(${source} ${files}/display/${name} COPYONLY)
  endforeach()
  file(MAKE_DIRECTORY ${files}/display)
  # The .data file is written at link time: a new face or image relinks.
  file(GLOB_RECURSE page_files ${files}/*)
  # The module for every browser (<target>) and the one with WebAssembly
  # SIMD (<target>-simd), which building <target> builds too.
  foreach(module ${target} ${target}-simd)
    add_executable(${module} $<TARGET_OBJECTS:${target}-display>)
    add_dependencies(${module} ${target}-faces-checked)
    if(module STREQUAL target)
      set(cpu_backend InstrumentPanel::gr_cpu)
    else()
      set(cpu_backend InstrumentPanel::gr_cpu_simd)
      add_dependencies(${target} ${module})
    endif()
    target_link_libraries(${module} PRIVATE InstrumentPanel::web_host ${cpu_backend} InstrumentPanel::gr)
    set_target_properties(${module} PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${page})
    set_property(TARGET ${module} APPEND PROPERTY LINK_DEPENDS ${page_files})
    target_link_options(${module} PRIVATE
      -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web
      "-sEXPORTED_FUNCTIONS=['_main','_webCommand','_webFrame','_webWidth','_webHeight','_webReadFrame','_webPointer','_webKey','_webMqttMessage','_webMqttState','_webMappingFetched','_malloc','_free']"
      --preload-file ${files}@/)
  endforeach()
  set(PAGE_TITLE ${target})
  set(PAGE_MODULE ${target})
  configure_file(${PANEL_WEB_PAGE_SOURCES}/index.html.in ${page}/index.html @ONLY)
  configure_file(${PANEL_WEB_PAGE_SOURCES}/page.js ${page}/page.js COPYONLY)
  configure_file(${PANEL_WEB_PAGE_SOURCES}/page_fit.js ${page}/page_fit.js COPYONLY)
  configure_file(${PANEL_WEB_PAGE_SOURCES}/pointer_events.js ${page}/pointer_events.js COPYONLY)
  configure_file(${PANEL_WEB_PAGE_SOURCES}/mqtt_link.js ${page}/mqtt_link.js COPYONLY)
  configure_file(${PANEL_WEB_MQTT_BUNDLE} ${page}/mqtt.min.js COPYONLY)
endfunction()
