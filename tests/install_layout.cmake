# Installs the current build into a fresh folder and checks the portable layout; then
# stands in for a user who edited the dictionary, the code tables and the settings and
# installs again: those files stay, a deleted help page comes back. Run with -DBUILD_DIR=.

set(dir "${BUILD_DIR}/install_layout_test")
file(REMOVE_RECURSE "${dir}")

function(install_into prefix)
  execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}\n${err}")
  endif()
endfunction()

function(expect_file rel)
  if(NOT EXISTS "${dir}/${rel}" OR IS_DIRECTORY "${dir}/${rel}")
    message(FATAL_ERROR "missing after install: ${rel}")
  endif()
endfunction()

function(expect_same rel source)
  expect_file("${rel}")
  file(SHA256 "${dir}/${rel}" a)
  file(SHA256 "${source}" b)
  if(NOT a STREQUAL b)
    message(FATAL_ERROR "${rel} differs from ${source}")
  endif()
endfunction()

function(expect_content rel want)
  file(READ "${dir}/${rel}" got)
  if(NOT got STREQUAL want)
    message(FATAL_ERROR "${rel} holds \"${got}\", expected \"${want}\"")
  endif()
endfunction()

get_filename_component(source "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
install_into("${dir}")

foreach(program numbrelia numbrelia-cli)
  expect_file("${program}")
  execute_process(COMMAND test -x "${dir}/${program}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${program} is not executable")
  endif()
endforeach()
file(GLOB help RELATIVE "${source}/data/Help" "${source}/data/Help/*")
list(LENGTH help helpCount)
if(helpCount LESS 4)
  message(FATAL_ERROR "expected the four help pages in the sources, found: ${help}")
endif()
foreach(f IN LISTS help)
  expect_same("Help/${f}" "${source}/data/Help/${f}")
  # Every page one help page links to is installed beside it.
  if(f MATCHES "\\.htm$")
    file(READ "${source}/data/Help/${f}" page)
    string(REGEX MATCHALL "href=\"[^\"#:]+[\"#]" links "${page}")
    foreach(link IN LISTS links)
      string(REGEX REPLACE "^href=\"([^\"#]+)[\"#]$" "\\1" target "${link}")
      if(NOT EXISTS "${dir}/Help/${target}")
        message(FATAL_ERROR "Help/${f} links to ${target}, which is not installed")
      endif()
    endforeach()
  endif()
endforeach()
foreach(f Codes.ini dic.lst dic_tiers.ini NOTICE)
  expect_same("Data/${f}" "${source}/data/Data/${f}")
endforeach()
expect_same("share/icons/hicolor/256x256/apps/numbrelia.png" "${source}/src/resources/icons/numbrelia-256.png")
expect_same("share/icons/hicolor/16x16/apps/numbrelia.png" "${source}/src/resources/icons/numbrelia-16.png")
expect_same("share/icons/hicolor/scalable/apps/numbrelia.svg" "${source}/src/resources/icons/numbrelia.svg")

# The menu entry starts the program of this folder and shows its icon.
set(desktop "share/applications/numbrelia.desktop")
expect_file("${desktop}")
file(READ "${dir}/${desktop}" entry)
foreach(want "\nExec=\"${dir}/numbrelia\"\n" "\nTryExec=${dir}/numbrelia\n"
             "\nIcon=${dir}/share/icons/hicolor/256x256/apps/numbrelia.png\n"
             "\nName=Numbrelia\n" "Keywords[ru]=число;память;")
  string(FIND "${entry}" "${want}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the menu entry lacks \"${want}\":\n${entry}")
  endif()
endforeach()
string(REGEX MATCHALL "\nExec=" execs "${entry}")
list(LENGTH execs n)
if(NOT n EQUAL 1)
  message(FATAL_ERROR "the menu entry has ${n} Exec lines:\n${entry}")
endif()

# The installed tool works from its own folder with the shipped data.
execute_process(COMMAND "${dir}/numbrelia-cli" variants 5270563
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^[0-9-]+\t[0-9]+\n")
  message(FATAL_ERROR "installed numbrelia-cli failed (${rc}): ${out} ${err}")
endif()

# The user's edits survive a second install; a missing shipped page is put back.
file(WRITE "${dir}/Data/dic.lst" "edited\n")
file(WRITE "${dir}/Data/Codes.ini" "[Mine]\n")
file(WRITE "${dir}/settings.ini" "[NumbreliaSettings]\nShowPic=1\n")
file(WRITE "${dir}/notebook.txt" "52=52\n")
file(REMOVE "${dir}/Help/pic.htm")
install_into("${dir}")
expect_content("Data/dic.lst" "edited\n")
expect_content("Data/Codes.ini" "[Mine]\n")
expect_content("settings.ini" "[NumbreliaSettings]\nShowPic=1\n")
expect_content("notebook.txt" "52=52\n")
expect_same("Help/pic.htm" "${source}/data/Help/pic.htm")

file(REMOVE_RECURSE "${dir}")
message(STATUS "install layout ok")
