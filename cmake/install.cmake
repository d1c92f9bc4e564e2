# cmake --install build --prefix P: headers, the shared drawing library (on
# Windows the DLL in bin/ beside the programs, its import library in lib/),
# the program, panel-snapshot, panel-feed, a CMake package (find_package(InstrumentPanel
# CONFIG) with the imported targets InstrumentPanel::gr,
# InstrumentPanel::instrument-panel and InstrumentPanel::panel-snapshot, and
# the function instrument_panel_add_display) and a pkg-config file
# (instrument-panel.pc).
include(CMakePackageConfigHelpers)

set(PANEL_INSTALLED_PROGRAMS panel-snapshot)
if(TARGET panel-feed)
  list(APPEND PANEL_INSTALLED_PROGRAMS panel-feed)
endif()
if(TARGET instrument-panel)
  list(APPEND PANEL_INSTALLED_PROGRAMS instrument-panel)
endif()
if(TARGET instrument-panel-kiosk)
  list(APPEND PANEL_INSTALLED_PROGRAMS instrument-panel-kiosk)
endif()

install(TARGETS gr_shared ${PANEL_INSTALLED_PROGRAMS}
  EXPORT InstrumentPanelTargets
  RUNTIME DESTINATION ${PANEL_INSTALL_BINDIR}
  LIBRARY DESTINATION ${PANEL_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${PANEL_INSTALL_LIBDIR}
  PUBLIC_HEADER DESTINATION ${PANEL_INSTALL_INCLUDEDIR})
install(EXPORT InstrumentPanelTargets
  NAMESPACE InstrumentPanel::
  DESTINATION ${PANEL_INSTALL_CMAKEDIR})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/InstrumentPanelConfig.cmake.in
  ${CMAKE_BINARY_DIR}/InstrumentPanelConfig.cmake
  INSTALL_DESTINATION ${PANEL_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/InstrumentPanelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${CMAKE_BINARY_DIR}/InstrumentPanelConfig.cmake
  ${CMAKE_BINARY_DIR}/InstrumentPanelConfigVersion.cmake
  ${CMAKE_CURRENT_LIST_DIR}/InstrumentPanelDisplay.cmake
  DESTINATION ${PANEL_INSTALL_CMAKEDIR})

configure_file(${CMAKE_CURRENT_LIST_DIR}/instrument-panel.pc.in ${CMAKE_BINARY_DIR}/instrument-panel.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/instrument-panel.pc DESTINATION ${PANEL_INSTALL_LIBDIR}/pkgconfig)
