# Runs at install time (see Install.cmake). Copies the user-editable data files only where
# the program folder has none yet, and writes the menu entry with the installed paths, so
# it starts the program in this folder whether or not the folder is on PATH.

set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

foreach(f IN LISTS NUMBRELIA_USER_DATA)
  if(EXISTS "${root}/Data/${f}")
    message(STATUS "Keeping: ${root}/Data/${f}")
  else()
    file(INSTALL DESTINATION "${root}/Data" TYPE FILE FILES "${NUMBRELIA_DATA_SOURCE}/Data/${f}")
  endif()
endforeach()

# Exec is quoted for a folder with blanks. Inside the quotes ", `, $ and \ take a backslash,
# and every backslash is then doubled for the entry's string escapes.
set(program "${CMAKE_INSTALL_PREFIX}/numbrelia")
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${program}")
string(REPLACE "\\" "\\\\" exec "${exec}")
set(icon "${CMAKE_INSTALL_PREFIX}/share/icons/hicolor/256x256/apps/numbrelia.png")

# Line by line; the entry's own semicolons (lists of keywords) must not split the lines.
file(READ "${NUMBRELIA_DESKTOP_SOURCE}" text)
string(REPLACE ";" "<semicolon>" text "${text}")
string(REPLACE "\n" ";" lines "${text}")
set(entry "")
foreach(line IN LISTS lines)
  if(line MATCHES "^TryExec=")
    continue()
  elseif(line MATCHES "^Exec=")
    set(line "Exec=\"${exec}\"")
  elseif(line MATCHES "^Icon=")
    set(line "Icon=${icon}")
  endif()
  string(APPEND entry "${line}\n")
  if(line STREQUAL "[Desktop Entry]")
    string(APPEND entry "TryExec=${program}\n")
  endif()
endforeach()
string(REPLACE "<semicolon>" ";" entry "${entry}")
string(REGEX REPLACE "\n+$" "\n" entry "${entry}")

set(desktop "${root}/share/applications/numbrelia.desktop")
message(STATUS "Installing: ${desktop}")
file(WRITE "${desktop}" "${entry}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${desktop}")
