# The windows (Qt Widgets and WebEngine) over the engine, and the desktop program.
find_package(Qt6 REQUIRED COMPONENTS Widgets WebEngineWidgets)

add_library(ui STATIC
  core/ColorUnit.cpp
  core/MainFormUnit.cpp
  core/MessageBoxUnit.cpp
  core/SignalUnit.cpp
  core/SingleInstanceUnit.cpp
  core/StartupUnit.cpp
  encoding/VariantsModel.cpp
  encoding/WordNodeDelegate.cpp
  encoding/WordsView.cpp
  web/BrowserUnit.cpp
  resources/MainForm.ui
)
set_target_properties(ui PROPERTIES
  AUTOMOC ON
  AUTOUIC ON
  AUTOUIC_SEARCH_PATHS ${CMAKE_CURRENT_SOURCE_DIR}/resources)
target_link_libraries(ui PUBLIC engine Qt6::Widgets Qt6::WebEngineWidgets)
# Texts for the user are UTF-8 literals converted on purpose, never by accident.
target_compile_definitions(ui PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
                                     QT_NO_CAST_FROM_BYTEARRAY)

add_executable(numbrelia core/main.cpp)
target_link_libraries(numbrelia PRIVATE ui)
include(${CMAKE_CURRENT_SOURCE_DIR}/web/web_ui.cmake)
include(${CMAKE_CURRENT_SOURCE_DIR}/notebook/notebook_ui.cmake)
include(${CMAKE_CURRENT_SOURCE_DIR}/tools/tools_ui.cmake)
