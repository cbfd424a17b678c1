# `cpack -G DEB` in the build folder makes numbrelia_VERSION_ARCH.deb, an installed layout:
#   /usr/bin/numbrelia, /usr/bin/numbrelia-cli            the programs
#   /usr/share/numbrelia/Data/*, /usr/share/numbrelia/Help/* the shipped data, read only
#   /usr/share/applications, icons, metainfo, man pages, /usr/share/doc/numbrelia
# The program finds no Data/ beside itself there, reads the shipped files from
# ../share/numbrelia and keeps the user's files in ~/.local/share/numbrelia.
# These rules belong to the component "package", left out of a plain `cmake --install`,
# which keeps laying out the portable folder of Install.cmake.

set(NUMBRELIA_MAINTAINER "Numbrelia developers <numbrelia@example.org>" CACHE STRING
    "Maintainer of the Debian package: name <address>")
set(NUMBRELIA_CHANGELOG_DATE "Tue, 08 Dec 2026 12:00:00 +0000")

set(pkg_src ${CMAKE_SOURCE_DIR}/data/package)
set(pkg_out ${CMAKE_BINARY_DIR}/package)
set(pkg_args COMPONENT package EXCLUDE_FROM_ALL)

# Debian wants man pages and the changelog compressed, with no name or time stamp inside.
configure_file(${pkg_src}/changelog.in ${pkg_out}/changelog @ONLY)
set(pkg_gz)
foreach(f numbrelia.1 numbrelia-cli.1 changelog)
  if(f STREQUAL "changelog")
    set(from ${pkg_out}/changelog)
  else()
    set(from ${pkg_src}/${f})
  endif()
  add_custom_command(OUTPUT ${pkg_out}/${f}.gz
    COMMAND gzip -9n -c ${from} > ${pkg_out}/${f}.gz
    DEPENDS ${from} VERBATIM)
  list(APPEND pkg_gz ${pkg_out}/${f}.gz)
endforeach()
add_custom_target(package_files ALL DEPENDS ${pkg_gz})

if(TARGET numbrelia)
  install(TARGETS numbrelia RUNTIME DESTINATION bin ${pkg_args})
endif()
install(TARGETS numbrelia-cli RUNTIME DESTINATION bin ${pkg_args})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/Help/ DESTINATION share/numbrelia/Help ${pkg_args})
install(FILES ${CMAKE_SOURCE_DIR}/data/Data/Codes.ini ${CMAKE_SOURCE_DIR}/data/Data/dic.lst
              ${CMAKE_SOURCE_DIR}/data/Data/dic_tiers.ini
        DESTINATION share/numbrelia/Data ${pkg_args})
install(FILES ${CMAKE_SOURCE_DIR}/data/numbrelia.desktop DESTINATION share/applications ${pkg_args})
foreach(size 16 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/src/resources/icons/numbrelia-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME numbrelia.png ${pkg_args})
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/src/resources/icons/numbrelia.svg
        DESTINATION share/icons/hicolor/scalable/apps ${pkg_args})
install(FILES ${pkg_src}/org.numbrelia.Numbrelia.metainfo.xml DESTINATION share/metainfo ${pkg_args})
install(FILES ${pkg_out}/numbrelia.1.gz ${pkg_out}/numbrelia-cli.1.gz
        DESTINATION share/man/man1 ${pkg_args})
install(FILES ${pkg_src}/copyright ${CMAKE_SOURCE_DIR}/data/Data/NOTICE ${pkg_out}/changelog.gz
        DESTINATION share/doc/numbrelia ${pkg_args})
install(FILES ${pkg_src}/lintian-overrides DESTINATION share/lintian/overrides RENAME numbrelia
        ${pkg_args})

set(CPACK_PACKAGE_NAME numbrelia)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Numbrelia developers")
set(CPACK_PACKAGE_CONTACT "${NUMBRELIA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn a number into a memorable phrase of Russian words")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL package)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${NUMBRELIA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link (Qt Widgets, WebEngine and Charts, ICU, zlib) become the
# dependencies through dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no library link names them: Qt's own texts in Russian, and the
# opener of the help pages and of the web browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The summary above is the synopsis; this is the long description under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A memorisation aid for Russian speakers. Type a number: Numbrelia finds every
way to cut it into groups of digits that are codes of dictionary words under a
number-letter code, in which each digit stands for a few consonants, and shows
a column of candidate words per group with the code letters coloured. Pick a
phrase and keep it in the notebook, drill the code in a test, edit the
dictionary, look at pictures of a word.
.
The package also holds numbrelia-cli, the same coding from a terminal.")
include(CPack)
