# The code table window, the code test and the dictionary editor; part of the ui library.
target_sources(ui PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/tools/TableCodeFormUnit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tools/TestFormUnit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tools/DicEditFormUnit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/TableCodeForm.ui
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/TestForm.ui
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/DicEditForm.ui
)
