# What cmake --install puts into the prefix: the two programs and the git
# difftool helper, the user guide with its screenshots, a manual page for
# each program, the desktop entry and its icon.
#
# The folders are fixed: the desktop program looks for its guide in
# <bin>/../share/doc/quorlin, so bin and share stay side by side.

set(QUORLIN_DOC_DIR share/doc/quorlin)

install(TARGETS quorlin-cli RUNTIME DESTINATION bin)
if(QUORLIN_GUI)
  install(TARGETS quorlin RUNTIME DESTINATION bin)
  install(FILES ${PROJECT_SOURCE_DIR}/share/applications/quorlin.desktop DESTINATION share/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/share/icons/hicolor/scalable/apps/quorlin.svg
          DESTINATION share/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/man/quorlin.1 DESTINATION share/man/man1)
endif()
install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/git-difftool-quorlin DESTINATION bin RENAME quorlin-difftool)
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/quorlin-cli.1 DESTINATION share/man/man1)

# The guide refers to its pictures as screenshots/NAME.png.
install(FILES ${PROJECT_SOURCE_DIR}/docs/user-guide.md DESTINATION ${QUORLIN_DOC_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/screenshots/ DESTINATION ${QUORLIN_DOC_DIR}/screenshots
        FILES_MATCHING PATTERN "*.png")
