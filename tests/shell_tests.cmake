# The host shell on a private Xvfb: in-process tests of frame and view, and
# the program itself (screenshots checked by colour).
add_executable(test_shell test_shell.cpp)
target_link_libraries(test_shell PRIVATE shell GTest::gtest)
add_test(NAME test_shell COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/with_xvfb.sh $<TARGET_FILE:test_shell>)
set_tests_properties(test_shell PROPERTIES TIMEOUT 120)
