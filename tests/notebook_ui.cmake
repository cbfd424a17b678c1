# The settings dialog and the notebook windows, off screen.
numbrelia_ui_test(test_notebookforms test_notebookforms.cpp)
target_compile_definitions(test_notebookforms PRIVATE NUMBRELIA_DATA_DIR="${CMAKE_SOURCE_DIR}/data")
add_test(NAME test_notebookforms COMMAND test_notebookforms)
set_tests_properties(test_notebookforms PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS gui)
# The notebook window again in a real X server: mouse on the header, keys in the cell editor.
add_test(NAME test_notebookforms_xvfb
  COMMAND bash ${xvfb_run} $<TARGET_FILE:test_notebookforms> --gtest_filter=NotebookWindow.*)
set_tests_properties(test_notebookforms_xvfb PROPERTIES LABELS xvfb TIMEOUT 120)

# The review window, driven by keys in a real X server.
numbrelia_ui_test(test_review_ui test_review_ui.cpp)
add_test(NAME test_review_ui COMMAND bash ${xvfb_run} $<TARGET_FILE:test_review_ui>)
set_tests_properties(test_review_ui PROPERTIES LABELS xvfb TIMEOUT 120)

# A long number as a journey: the main window, the notebook and the review, in a real X server.
numbrelia_ui_test(test_journey_ui test_journey_ui.cpp)
target_compile_definitions(test_journey_ui PRIVATE NUMBRELIA_DATA_DIR="${CMAKE_SOURCE_DIR}/data")
add_test(NAME test_journey_ui COMMAND bash ${xvfb_run} $<TARGET_FILE:test_journey_ui>)
set_tests_properties(test_journey_ui PROPERTIES LABELS xvfb TIMEOUT 180)
