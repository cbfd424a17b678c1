# The picture pane, About, the small controls and help, off screen; and the portable
# program folder that `cmake --install` lays out.
numbrelia_ui_test(test_webforms test_webforms.cpp)
add_test(NAME test_webforms COMMAND test_webforms)
# The help window starts the browser engine.
set_tests_properties(test_webforms PROPERTIES LABELS gui ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/lsan-webengine.supp")

add_test(NAME install_layout
  COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/install_layout.cmake)
set_tests_properties(install_layout PROPERTIES LABELS install TIMEOUT 120)

# The pane over the real browser engine needs a real X server.
numbrelia_ui_test(test_picturepane test_picturepane.cpp)
add_test(NAME test_picturepane COMMAND bash ${xvfb_run} $<TARGET_FILE:test_picturepane>)
set_tests_properties(test_picturepane PROPERTIES LABELS xvfb TIMEOUT 180)
