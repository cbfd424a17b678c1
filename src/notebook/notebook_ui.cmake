# The settings dialog and the notebook windows; part of the ui library.
target_sources(ui PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/core/SettingsFormUnit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/notebook/AddToNotebookFormUnit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/notebook/NotebookFormUnit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/notebook/ReviewFormUnit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/SettingsForm.ui
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/AddToNotebookForm.ui
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/NotebookForm.ui
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/ReviewForm.ui
)
