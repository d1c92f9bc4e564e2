# build.sh: each verb's package list holds what its build reads from the
# machine (checked against the system headers this build compiled), and its
# arguments are judged before anything is installed or built.
add_test(NAME build_script_verbs_install_what_they_build
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/build_packages.sh ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR})
add_test(NAME build_script_refuses_unknown_arguments
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/build_arguments.sh ${PROJECT_SOURCE_DIR})
set_tests_properties(build_script_verbs_install_what_they_build build_script_refuses_unknown_arguments
  PROPERTIES TIMEOUT 120)
