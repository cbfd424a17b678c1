# Fault and bad-input tests. The engine ones need no display; the window ones run off
# screen with a main of their own that first moves the process into a private mount
# namespace (for a read-only folder and a small full disk); the real program gets its
# signals under Xvfb.
# The lock needs no Qt; the test compiles it in rather than link the windows.
numbrelia_test(test_faults test_faults.cpp ${CMAKE_SOURCE_DIR}/src/core/SingleInstanceUnit.cpp)
numbrelia_test(test_badinput test_badinput.cpp)
target_compile_definitions(test_badinput PRIVATE NUMBRELIA_DATA_DIR="${CMAKE_SOURCE_DIR}/data")
set_tests_properties(test_faults test_badinput PROPERTIES TIMEOUT 300)
# Paths, lost data, wrong answers and cost on files users and testers produce.
numbrelia_test(test_reliability test_reliability.cpp)
set_tests_properties(test_reliability PROPERTIES TIMEOUT 300)

if(NUMBRELIA_GUI)
  add_executable(test_faults_ui test_faults_ui.cpp UiFixture.cpp)
  target_link_libraries(test_faults_ui PRIVATE testutil ui Qt6::Test)
  set_target_properties(test_faults_ui PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    AUTOMOC ON AUTOUIC ON AUTOUIC_SEARCH_PATHS ${CMAKE_SOURCE_DIR}/src/resources)
  target_compile_definitions(test_faults_ui PRIVATE NUMBRELIA_DATA_DIR="${CMAKE_SOURCE_DIR}/data")
  add_test(NAME test_faults_ui COMMAND test_faults_ui)
  set_tests_properties(test_faults_ui PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS gui TIMEOUT 300)

  add_test(NAME program_signals
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/xvfb-run.sh bash ${CMAKE_CURRENT_SOURCE_DIR}/faults-xvfb.sh
            $<TARGET_FILE:numbrelia> ${CMAKE_SOURCE_DIR}/data $<TARGET_FILE:xwindow_tool>)
  set_tests_properties(program_signals PROPERTIES LABELS xvfb TIMEOUT 300)
endif()

# The window scenarios of lost data and wrong answers also run in a real X server: a zero
# byte in the user's files, lists on disk at once, nothing remembered without columns.
if(NUMBRELIA_GUI)
  add_test(NAME userfiles_xvfb COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/xvfb-run.sh
           $<TARGET_FILE:test_faults_ui> --gtest_filter=UserFiles.*)
  add_test(NAME listwrites_xvfb COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/xvfb-run.sh
           $<TARGET_FILE:test_mainform> --gtest_filter=MainFormEncode.Hiding*)
  add_test(NAME wiring_faults_xvfb COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/xvfb-run.sh
           $<TARGET_FILE:test_wiring>
           --gtest_filter=Wiring.ListChangesInTheCodeTable*:Wiring.ADictionaryWithoutAVariant*)
  set_tests_properties(userfiles_xvfb listwrites_xvfb wiring_faults_xvfb PROPERTIES LABELS xvfb TIMEOUT 180)
endif()
