# The picture pane, help and About, the two small controls and the program's icon; part
# of the ui library.
target_sources(ui PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/controls/HLinkLabelUnit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/controls/MyPanelUnit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/web/AboutFormUnit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/web/DesktopUnit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/web/HelpFormUnit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/web/PicturePaneUnit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/web/rpVersionInfo.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/AboutForm.ui
)

# The version information comes from the project version.
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/web/VersionInfoData.h.in
               ${CMAKE_CURRENT_BINARY_DIR}/generated/web/VersionInfoData.h @ONLY)
target_include_directories(ui PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/generated)

# The icon in every size, as :/icons/numbrelia-<size>.png.
qt_add_resources(ui numbrelia_icons
  PREFIX /icons
  BASE ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons
  FILES
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/numbrelia-16.png
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/numbrelia-32.png
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/numbrelia-48.png
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/numbrelia-64.png
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/numbrelia-128.png
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/numbrelia-256.png)
