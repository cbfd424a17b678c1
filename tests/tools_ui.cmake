# The code table window, the code test and the dictionary editor, off screen.
numbrelia_ui_test(test_toolforms test_toolforms.cpp)
target_compile_definitions(test_toolforms PRIVATE NUMBRELIA_DATA_DIR="${CMAKE_SOURCE_DIR}/data")
add_test(NAME test_toolforms COMMAND test_toolforms)
set_tests_properties(test_toolforms PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS gui)
