# The browser's build, with Emscripten: the drawing library on WebGL 2, and
# one page per display (index.html with its .js, .wasm and .data) in
# PANEL_WEB_PAGES/<display>/, servable by any static web server.
#   emcmake cmake -S . -B build-web/cmake -DPANEL_WEB_DEPS=P -DPANEL_WEB_PAGES=build-web
# P holds zlib, libpng, libjpeg and FreeType built for WebAssembly
# (tools/web/build_deps.sh).
set(PANEL_WEB_DEPS "" CACHE PATH "Where the WebAssembly builds of zlib, libpng, libjpeg and FreeType are")
set(PANEL_WEB_PAGES ${CMAKE_BINARY_DIR}/pages CACHE PATH "Where each display's page is written")
set(PANEL_WEB_FACE_FOLDER /usr/share/fonts/truetype/liberation CACHE PATH "Where the faces pages ship are")

foreach(library z png16 jpeg freetype)
  if(NOT EXISTS ${PANEL_WEB_DEPS}/lib/lib${library}.a)
    message(FATAL_ERROR "lib${library}.a is not in PANEL_WEB_DEPS (${PANEL_WEB_DEPS}/lib): run tools/web/build_deps.sh")
  endif()
endforeach()
# Where the installed package keeps what only a page links: these libraries,
# the page host, its template and the faces.
set(PANEL_INSTALL_WEBLIBDIR ${PANEL_INSTALL_LIBDIR}/instrument-panel-web)
set(PANEL_INSTALL_WEBDATADIR share/instrument-panel/web)
set(PANEL_WEB_DEP_LIBRARIES png16 jpeg freetype z)
add_library(web_deps INTERFACE)
target_include_directories(web_deps SYSTEM INTERFACE
  $<BUILD_INTERFACE:${PANEL_WEB_DEPS}/include> $<BUILD_INTERFACE:${PANEL_WEB_DEPS}/include/freetype2>)
foreach(library IN LISTS PANEL_WEB_DEP_LIBRARIES)
  target_link_libraries(web_deps INTERFACE $<BUILD_INTERFACE:${PANEL_WEB_DEPS}/lib/lib${library}.a>
    $<INSTALL_INTERFACE:$<INSTALL_PREFIX>/${PANEL_INSTALL_WEBLIBDIR}/lib${library}.a>)
endforeach()

# The drawing library: everything platform-free, the Linux folders for
# images (libpng, libjpeg, stb_image), text (FreeType) and the runtime, with
# the faces found among the page's files instead of by fontconfig. The
# shader backend draws (WebGL 2 is OpenGL ES 3.0); the browser has no
# fixed-function GL, so the gl1 backend is left out.
set(GR_DIR ${PROJECT_SOURCE_DIR}/gfx)
file(GLOB_RECURSE GR_SOURCES CONFIGURE_DEPENDS RELATIVE ${GR_DIR} ${GR_DIR}/*.cpp)
list(FILTER GR_SOURCES EXCLUDE REGEX "(^|/)windows/")
list(FILTER GR_SOURCES EXCLUDE REGEX "^backends/gl1/")
list(REMOVE_ITEM GR_SOURCES text/linux/face_file_fontconfig.cpp)
# The CPU backend is built apart, twice (below).
set(GR_CPU_SOURCES ${GR_SOURCES})
list(FILTER GR_SOURCES EXCLUDE REGEX "^backends/cpu/")
list(FILTER GR_CPU_SOURCES INCLUDE REGEX "^backends/cpu/")
list(TRANSFORM GR_SOURCES PREPEND ${GR_DIR}/)
list(TRANSFORM GR_CPU_SOURCES PREPEND ${GR_DIR}/)
set(GR_PRIVATE_DIRS ${GR_DIR}/core ${GR_DIR}/shapes ${GR_DIR}/clip ${GR_DIR}/text
  ${GR_DIR}/image ${GR_DIR}/runtime ${GR_DIR}/backends ${GR_DIR}/outputs)
add_library(gr STATIC ${GR_SOURCES})
target_include_directories(gr PUBLIC $<BUILD_INTERFACE:${GR_DIR}> $<BUILD_INTERFACE:${GR_DIR}/text/linux>
  $<INSTALL_INTERFACE:${PANEL_INSTALL_INCLUDEDIR}>)
target_include_directories(gr PRIVATE ${GR_PRIVATE_DIRS})
target_include_directories(gr SYSTEM PRIVATE /usr/include/stb)
target_compile_definitions(gr PRIVATE GR_SHADER_BACKEND=1 GR_WITHOUT_GL1=1)
target_link_libraries(gr PUBLIC web_deps)
add_library(gr_link INTERFACE)
target_link_libraries(gr_link INTERFACE gr)
add_library(InstrumentPanel::gr ALIAS gr)

# The CPU backend for every browser (gr_cpu), and with WebAssembly SIMD
# (gr_cpu_simd): Emscripten turns the backend's SSE2 paths into SIMD
# instructions, which a browser without SIMD refuses to compile. A page is
# linked once with each and loads the one its browser can run
# (InstrumentPanelDisplay.cmake, page/page.js); gr leaves the backend's
# symbols to whichever is linked.
foreach(variant gr_cpu gr_cpu_simd)
  add_library(${variant} STATIC ${GR_CPU_SOURCES})
  target_include_directories(${variant} PRIVATE ${GR_PRIVATE_DIRS})
  target_link_libraries(${variant} PUBLIC gr)
  add_library(InstrumentPanel::${variant} ALIAS ${variant})
endforeach()
target_compile_options(gr_cpu_simd PRIVATE -msimd128 -msse2)

add_subdirectory(display)

# The renderer and the view's rules without a window system.
set(RENDER_DIR ${PROJECT_SOURCE_DIR}/render)
add_library(render STATIC ${RENDER_DIR}/cpu_formats.cpp ${RENDER_DIR}/display_renderer.cpp
  ${RENDER_DIR}/display_module.cpp ${RENDER_DIR}/pixel_format_table.cpp ${RENDER_DIR}/display_events.cpp)
target_include_directories(render PUBLIC $<BUILD_INTERFACE:${RENDER_DIR}> $<BUILD_INTERFACE:${GR_DIR}>)
# The display a page shows is the one linked into it: the renderer takes it
# from the page's grDisplayDescriptor, not from the built-in display.
target_compile_definitions(render PRIVATE PANEL_DISPLAY_LINKED_IN)
target_link_libraries(render PUBLIC gr)

# The data sources' platform-free part: the MQTT decoding, the mappings and
# the feeds the page's own MQTT source and destination attach to. A page
# has no sockets: the command-line sources are refused by name.
set(DATA_DIR ${PROJECT_SOURCE_DIR}/data)
add_library(data_web STATIC ${DATA_DIR}/wire_formats.cpp ${DATA_DIR}/generic_lines.cpp ${DATA_DIR}/xplane_data.cpp
  ${DATA_DIR}/json_objects.cpp ${DATA_DIR}/mapping.cpp ${DATA_DIR}/recording.cpp ${DATA_DIR}/datagram_decoder.cpp
  ${DATA_DIR}/wire_encode.cpp ${DATA_DIR}/mqtt_address.cpp ${DATA_DIR}/mqtt_decoder.cpp ${DATA_DIR}/linux/file_sync.cpp
  ${DATA_DIR}/data_feed.cpp ${DATA_DIR}/replay_source.cpp ${DATA_DIR}/output_feed.cpp
  ${DATA_DIR}/web/network_unavailable.cpp)
target_include_directories(data_web PUBLIC $<BUILD_INTERFACE:${DATA_DIR}>)
target_link_libraries(data_web PUBLIC gr)

# The npm package mqtt's browser build, which every page loads
# (tools/web/build_deps.sh puts it into PANEL_WEB_DEPS).
set(PANEL_WEB_MQTT_BUNDLE ${PANEL_WEB_DEPS}/js/mqtt.min.js CACHE INTERNAL "The pages' MQTT client")
if(NOT EXISTS ${PANEL_WEB_MQTT_BUNDLE})
  message(FATAL_ERROR "${PANEL_WEB_MQTT_BUNDLE} is missing: run tools/web/build_deps.sh")
endif()

include(cmake/InstrumentPanelDisplay.cmake)
add_subdirectory(app/web)

# Run by the build beside each page: the faces the display's fonts need
# are among the page's (InstrumentPanelDisplay.cmake).
add_library(page_face_check OBJECT tools/web/page_face_check.cpp)
target_include_directories(page_face_check PRIVATE ${GR_DIR}/text/web)
target_link_libraries(page_face_check PUBLIC gr)
add_library(InstrumentPanel::page_face_check ALIAS page_face_check)
add_subdirectory(examples/flight)
add_subdirectory(examples/minimal)
add_subdirectory(tests/web)

# cmake --install build-web/cmake --prefix P adds the pages' part to the
# package in P: find_package(InstrumentPanel CONFIG) in a project
# configured with emcmake then builds each instrument_panel_add_display
# into a page.
install(TARGETS gr gr_cpu gr_cpu_simd render data_web web_host page_face_check web_deps
  EXPORT InstrumentPanelWebTargets
  ARCHIVE DESTINATION ${PANEL_INSTALL_WEBLIBDIR}
  OBJECTS DESTINATION ${PANEL_INSTALL_WEBLIBDIR}/objects)
install(EXPORT InstrumentPanelWebTargets NAMESPACE InstrumentPanel:: DESTINATION ${PANEL_INSTALL_CMAKEDIR})
foreach(library IN LISTS PANEL_WEB_DEP_LIBRARIES)
  install(FILES ${PANEL_WEB_DEPS}/lib/lib${library}.a DESTINATION ${PANEL_INSTALL_WEBLIBDIR})
endforeach()
install(FILES ${GR_DIR}/gr.h ${GR_DIR}/gr_display.h DESTINATION ${PANEL_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PANEL_WEB_PAGE_SOURCES}/ DESTINATION ${PANEL_INSTALL_WEBDATADIR}/page)
install(FILES ${PANEL_WEB_MQTT_BUNDLE} ${PANEL_WEB_DEPS}/js/LICENSE.md DESTINATION ${PANEL_INSTALL_WEBDATADIR}/mqtt)
# Every face FACES may name, not only the ones every page ships.
file(GLOB PANEL_WEB_ALL_FACES ${PANEL_WEB_FACE_FOLDER}/Liberation*.ttf)
install(FILES ${PANEL_WEB_ALL_FACES} DESTINATION ${PANEL_INSTALL_WEBDATADIR}/faces)
include(CMakePackageConfigHelpers)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/InstrumentPanelConfig.cmake.in
  ${CMAKE_BINARY_DIR}/InstrumentPanelConfig.cmake
  INSTALL_DESTINATION ${PANEL_INSTALL_CMAKEDIR})
# One version file for the desktop part and the pages' part (wasm32) in one
# prefix: it may not hold one of them to its pointer size.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/InstrumentPanelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES ${CMAKE_BINARY_DIR}/InstrumentPanelConfig.cmake ${CMAKE_BINARY_DIR}/InstrumentPanelConfigVersion.cmake
  ${CMAKE_CURRENT_LIST_DIR}/InstrumentPanelDisplay.cmake
  DESTINATION ${PANEL_INSTALL_CMAKEDIR})
