# The Debian package, built and run from a read-only root as a user would (slow: it builds
# the package and starts the program twice; left out of the sanitizer build, whose
# binaries are not what ships).
if(NOT NUMBRELIA_SANITIZE)
  add_test(NAME package_xvfb
    COMMAND bash ${xvfb_run} bash ${CMAKE_CURRENT_SOURCE_DIR}/package-xvfb.sh
            ${CMAKE_BINARY_DIR} $<TARGET_FILE:xwindow_tool>)
  set_tests_properties(package_xvfb PROPERTIES LABELS package TIMEOUT 300)
endif()
