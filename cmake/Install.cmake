# The installed Linux program: bin/tasklane, its desktop entry, its icon in the hicolor theme
# in every size tools/make_art.py draws, and its manual page; and the Debian package of all
# that, which CPack builds (scripts/package).
include(GNUInstallDirs)

install(TARGETS tasklane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/dist/tasklane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/dist/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Manual pages are installed compressed, as man-db and Debian expect them.
set(manual_page ${CMAKE_CURRENT_BINARY_DIR}/tasklane.1.gz)
add_custom_command(
  OUTPUT ${manual_page}
  COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/dist/tasklane.1 > ${manual_page}
  DEPENDS ${PROJECT_SOURCE_DIR}/dist/tasklane.1
  COMMENT "Compressing the manual page"
  VERBATIM
)
add_custom_target(tasklane_manual_page ALL DEPENDS ${manual_page})
install(FILES ${manual_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tasklane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tasklane developers <tasklane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small to-do list that stays on top of the other windows")
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Tasklane shows one borderless, always-on-top window with an editable table of tasks."
  "Cells are edited in place and copied whole; rows and columns are added and removed"
  "at the end; the window folds to a thin red bar and hides to the notification area."
  "The whole list is kept in one XML file, saved when the window closes.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the binary links, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Tahoma, the font the window is drawn with; without it a similar font stands in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-wine)
set(CPACK_STRIP_FILES ON)
include(CPack)
