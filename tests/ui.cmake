# Window tests. Most run off screen; the browser tests and the program itself run in a
# real X server (Xvfb) that their script starts.
find_package(Qt6 REQUIRED COMPONENTS Test)
find_package(X11 REQUIRED)

add_library(uitestutil STATIC UiFixture.cpp UiTestMain.cpp)
target_link_libraries(uitestutil PUBLIC testutil ui Qt6::Test)
set_target_properties(uitestutil PROPERTIES AUTOUIC ON
  AUTOUIC_SEARCH_PATHS ${CMAKE_SOURCE_DIR}/src/resources)

function(numbrelia_ui_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE uitestutil)
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    AUTOMOC ON AUTOUIC ON AUTOUIC_SEARCH_PATHS ${CMAKE_SOURCE_DIR}/src/resources)
endfunction()

numbrelia_ui_test(test_mainform test_mainform.cpp)
# It compares the word columns with what numbrelia-cli lists.
add_dependencies(test_mainform numbrelia-cli)
target_compile_definitions(test_mainform PRIVATE NUMBRELIA_CLI="$<TARGET_FILE:numbrelia-cli>")
numbrelia_ui_test(test_uiparts test_uiparts.cpp)
numbrelia_ui_test(test_browser test_browser.cpp)
numbrelia_ui_test(test_wiring test_wiring.cpp)
foreach(t test_mainform test_uiparts test_wiring)
  add_test(NAME ${t} COMMAND ${t})
  set_tests_properties(${t} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS gui)
endforeach()
# The dictionary editor and the picture pane start the browser engine.
set_tests_properties(test_wiring PROPERTIES ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/lsan-webengine.supp")
# Long numbers, on the shipped dictionary.
numbrelia_ui_test(test_longnumber test_longnumber.cpp)
target_compile_definitions(test_longnumber PRIVATE NUMBRELIA_DATA_DIR="${CMAKE_SOURCE_DIR}/data")
add_test(NAME test_longnumber COMMAND test_longnumber)
set_tests_properties(test_longnumber PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS gui TIMEOUT 300)

# Measures start-up and selection times (prints them; not a test).
add_executable(ui_timing ui_timing.cpp UiFixture.cpp)
target_link_libraries(ui_timing PRIVATE testutil ui Qt6::Test)
set_target_properties(ui_timing PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
  AUTOUIC ON AUTOUIC_SEARCH_PATHS ${CMAKE_SOURCE_DIR}/src/resources)

add_executable(xwindow_tool XWindowTool.cpp)
target_link_libraries(xwindow_tool PRIVATE X11::X11 X11::Xtst ZLIB::ZLIB)
set_target_properties(xwindow_tool PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

set(xvfb_run ${CMAKE_CURRENT_SOURCE_DIR}/xvfb-run.sh)
add_test(NAME test_browser COMMAND bash ${xvfb_run} $<TARGET_FILE:test_browser>)
add_test(NAME program_xvfb
  COMMAND bash ${xvfb_run} bash ${CMAKE_CURRENT_SOURCE_DIR}/program-xvfb.sh
          $<TARGET_FILE:numbrelia> ${CMAKE_SOURCE_DIR}/data $<TARGET_FILE:xwindow_tool>)
add_test(NAME pictures_xvfb
  COMMAND bash ${xvfb_run} bash ${CMAKE_CURRENT_SOURCE_DIR}/pictures-xvfb.sh
          $<TARGET_FILE:numbrelia> ${CMAKE_SOURCE_DIR}/data $<TARGET_FILE:xwindow_tool>)
set_tests_properties(test_browser program_xvfb pictures_xvfb PROPERTIES LABELS xvfb TIMEOUT 180)
# A 100-digit number: typed into the real program, and the word columns and lists measured
# in a real X server.
add_test(NAME longnumber_xvfb
  COMMAND bash ${xvfb_run} bash ${CMAKE_CURRENT_SOURCE_DIR}/longnumber-xvfb.sh
          $<TARGET_FILE:numbrelia> ${CMAKE_SOURCE_DIR}/data $<TARGET_FILE:xwindow_tool>)
add_test(NAME test_longnumber_xvfb COMMAND bash ${xvfb_run} $<TARGET_FILE:test_longnumber>)
set_tests_properties(longnumber_xvfb test_longnumber_xvfb PROPERTIES LABELS xvfb TIMEOUT 180)
add_test(NAME no_display COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/no-display.sh $<TARGET_FILE:numbrelia>)
set_tests_properties(no_display PROPERTIES LABELS gui TIMEOUT 30)
include(${CMAKE_CURRENT_SOURCE_DIR}/web_ui.cmake)
include(${CMAKE_CURRENT_SOURCE_DIR}/notebook_ui.cmake)
include(${CMAKE_CURRENT_SOURCE_DIR}/tools_ui.cmake)
include(${CMAKE_CURRENT_SOURCE_DIR}/package.cmake)
