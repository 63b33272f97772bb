# Installing and packing. On Windows: a flat folder (the programs, the default
# data files and a read-me) packed as a ZIP. Elsewhere: the usual layout
# (bin/, share/man/man1/ and man5/, share/doc/towngen/) packed as a .deb and a .tar.gz.

# towngen.html, made by the web build (cmake --workflow --preset web, which
# ./check runs), is packed when it is there.
set(TOWNGEN_WEB_PAGE ${PROJECT_SOURCE_DIR}/build/web/towngen.html CACHE FILEPATH
  "towngen.html from the web build, packed when present")
if(NOT EXISTS ${TOWNGEN_WEB_PAGE})
  message(STATUS "No ${TOWNGEN_WEB_PAGE}: the package goes without the browser page")
endif()

if(WIN32)
  if(EXISTS ${TOWNGEN_WEB_PAGE})
    install(FILES ${TOWNGEN_WEB_PAGE} DESTINATION .)
  endif()
  install(TARGETS towngen RUNTIME DESTINATION .)
  if(towngen_census_built)
    install(TARGETS towncensus RUNTIME DESTINATION .)
  endif()
  install(FILES gamedata/male.txt gamedata/female.txt gamedata/last.txt gamedata/data.txt
    gamedata/traits.txt DESTINATION .)
  install(FILES packaging/README-windows.txt DESTINATION . RENAME README.txt)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "towngen-${PROJECT_VERSION}-windows")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  include(CPack)
  return()
endif()

include(GNUInstallDirs)
set(towngen_programs towngen)
if(towngen_census_built)
  list(APPEND towngen_programs towncensus)
endif()
install(TARGETS ${towngen_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(EXISTS ${TOWNGEN_WEB_PAGE})
  install(FILES ${TOWNGEN_WEB_PAGE} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/towngen)
endif()
set(towngen_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/towngen)
install(FILES README.md DESTINATION ${towngen_doc_dir})
install(FILES LICENSE DESTINATION ${towngen_doc_dir} RENAME copyright)
# Debian wants the changes compressed beside the copyright.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS packaging/changelog)
add_custom_target(towngen_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${towngen_doc_dir})

# Man pages, written in scdoc's markup (man/NAME.SECTION.scd) and made by
# scdoc: one for each program, and the files they write and read.
if(NOT TOWNGEN_BUILD_MANPAGES STREQUAL "OFF" AND NOT CMAKE_CROSSCOMPILING)
  find_program(TOWNGEN_SCDOC scdoc)
  find_program(TOWNGEN_GZIP gzip)
endif()
set(towngen_scdoc_found OFF)
if(TOWNGEN_SCDOC AND TOWNGEN_GZIP)
  set(towngen_scdoc_found ON)
endif()
towngen_decide(towngen_manpages_built "the man pages" "${TOWNGEN_BUILD_MANPAGES}"
  "${towngen_scdoc_found}" scdoc)
set(towngen_man_pages "")
foreach(program IN LISTS towngen_programs)
  list(APPEND towngen_man_pages ${program}.1)
endforeach()
list(APPEND towngen_man_pages towngen-files.5)
if(towngen_manpages_built)
  set(towngen_pages "")
  foreach(name IN LISTS towngen_man_pages)
    set(page ${CMAKE_BINARY_DIR}/man/${name})
    string(REGEX REPLACE ".*\\." "" section ${name})
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND ${TOWNGEN_SCDOC} < ${PROJECT_SOURCE_DIR}/man/${name}.scd > ${page}
      COMMAND ${TOWNGEN_GZIP} -9nkf ${page}
      DEPENDS man/${name}.scd
      COMMENT "Making the man page ${name}")
    list(APPEND towngen_pages ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
  endforeach()
  add_custom_target(towngen_man_pages ALL DEPENDS ${towngen_pages})
endif()

# The man pages as groff reads them, with every warning: none may be given.
if(towngen_manpages_built AND towngen_tests_built)
  find_program(TOWNGEN_GROFF groff)
  if(TOWNGEN_GROFF)
    foreach(name IN LISTS towngen_man_pages)
      add_test(NAME ManPage.${name}
        COMMAND ${CMAKE_COMMAND} -DGROFF=${TOWNGEN_GROFF} -DPAGE=${CMAKE_BINARY_DIR}/man/${name}
          -P ${PROJECT_SOURCE_DIR}/cmake/check_man_page.cmake)
    endforeach()
  endif()
endif()

set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_NAME towngen)
set(CPACK_PACKAGE_VENDOR "The towngen authors")
set(CPACK_PACKAGE_CONTACT "towngen-support@example.org")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "town population generator for role-playing games")
set(CPACK_PACKAGE_DESCRIPTION
  "towngen makes the whole population of a medieval fantasy town for a tabletop
role-playing game: every townsperson's sex, name, class and occupation, age,
seven ability scores, coins, gems and magic items, written to a plain text
file. towncensus reads a town file back for a census, writes its townspeople
as CSV, JSON or JSON Lines, and makes a web page of the town to search.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The towngen authors <towngen-support@example.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/towngen")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/cpack_options.cmake)
include(CPack)
