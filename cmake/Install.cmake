# `cmake --install BUILD --prefix DIR` lays out a portable program folder:
#   DIR/numbrelia, DIR/numbrelia-cli         the programs
#   DIR/Data/*, DIR/Help/*                   the shipped data and help pages
#   DIR/share/applications/numbrelia.desktop the menu entry, pointing into DIR
#   DIR/share/icons/hicolor/*/apps/numbrelia.{png,svg}
# The program keeps everything else it writes (settings, lists, notebook, cache) in DIR as
# well. Installing again over a folder in use updates the program and its help but keeps
# the files the user edits: Data/dic.lst and Data/Codes.ini are copied only where missing,
# and settings, user lists and notebook are never shipped, so never touched.

set(NUMBRELIA_USER_DATA Codes.ini dic.lst)

if(TARGET numbrelia)
  install(TARGETS numbrelia RUNTIME DESTINATION .)
endif()
install(TARGETS numbrelia-cli RUNTIME DESTINATION .)

install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/Help/ DESTINATION Help)

file(GLOB shipped_data RELATIVE ${CMAKE_SOURCE_DIR}/data/Data ${CMAKE_SOURCE_DIR}/data/Data/*)
foreach(f IN LISTS shipped_data)
  if(NOT f IN_LIST NUMBRELIA_USER_DATA)
    install(FILES ${CMAKE_SOURCE_DIR}/data/Data/${f} DESTINATION Data)
  endif()
endforeach()

foreach(size 16 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/src/resources/icons/numbrelia-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME numbrelia.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/src/resources/icons/numbrelia.svg
        DESTINATION share/icons/hicolor/scalable/apps)

# The user's files and the menu entry are decided when installing, where the prefix is known.
install(CODE "
  set(NUMBRELIA_DATA_SOURCE \"${CMAKE_SOURCE_DIR}/data\")
  set(NUMBRELIA_USER_DATA \"${NUMBRELIA_USER_DATA}\")
  set(NUMBRELIA_DESKTOP_SOURCE \"${CMAKE_SOURCE_DIR}/data/numbrelia.desktop\")
")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/InstallUserData.cmake)
