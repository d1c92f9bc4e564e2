# The Windows build: the same drawing library and display as on Linux, the
# renderer over WGL, the Win32 shell, panel-snapshot and the tests that run
# under Wine.
#
# The GL, GDI and user32 functions are linked straight rather than through
# dllimport pointers, so the recording layer can stand in for opengl32 the
# way it stands in for libGL on Linux. With both GL macros given, GL/gl.h
# leaves windows.h (and its DrawState and near/far macros) out of the
# drawing library.
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601
  _GDI32_ WINGDIAPI= WINAPI=__stdcall APIENTRY=WINAPI _POSIX_THREAD_SAFE_FUNCTIONS _USE_MATH_DEFINES)
# Windows' own names are UTF-16; the sources are UTF-8.
add_compile_options(-finput-charset=UTF-8 -fexec-charset=UTF-8)

# The DLLs (the drawing library, display modules) carry their C and C++
# runtimes as the executables do.
add_link_options(-static -static-libgcc -static-libstdc++)

# An executable that links instrument-panel-gr.dll finds it beside itself.
function(panel_copy_runtime_dlls target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_RUNTIME_DLLS:${target}> $<TARGET_FILE_DIR:${target}>
    COMMAND_EXPAND_LISTS VERBATIM)
endfunction()

add_subdirectory(gfx)
add_subdirectory(display)
add_subdirectory(render/windows ${CMAKE_BINARY_DIR}/render)
add_subdirectory(data)
add_subdirectory(tools/windows ${CMAKE_BINARY_DIR}/tools)
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/app/windows/CMakeLists.txt)
  add_subdirectory(app/windows ${CMAKE_BINARY_DIR}/app)
endif()

# Display modules as DLLs, built as on Linux.
include(cmake/InstrumentPanelDisplay.cmake)
add_subdirectory(examples/flight)
add_subdirectory(examples/minimal)

# The Windows SDK, laid out as the Linux package: headers, the DLL with its
# import library, the programs and the CMake package.
include(cmake/install.cmake)

enable_testing()
add_subdirectory(tests/windows ${CMAKE_BINARY_DIR}/tests)
