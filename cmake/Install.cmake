# What cmake --install puts into the prefix: the two programs and the git
# difftool helper, the user guide with its screenshots, a manual page for
# each program, bash completion, the desktop entry and its icon; and how
# cpack -G DEB packs the same files into a Debian package.
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
  install(FILES ${PROJECT_SOURCE_DIR}/share/icons/hicolor/64x64/apps/quorlin.png
          DESTINATION share/icons/hicolor/64x64/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/man/quorlin.1 DESTINATION share/man/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/share/bash-completion/completions/quorlin
          DESTINATION share/bash-completion/completions)
endif()
install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/git-difftool-quorlin DESTINATION bin RENAME quorlin-difftool)
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/quorlin-cli.1 ${PROJECT_SOURCE_DIR}/docs/man/quorlin-difftool.1
        DESTINATION share/man/man1)
install(FILES ${PROJECT_SOURCE_DIR}/share/bash-completion/completions/quorlin-cli
        DESTINATION share/bash-completion/completions)

# The guide refers to its pictures as screenshots/NAME.png.
install(FILES ${PROJECT_SOURCE_DIR}/docs/user-guide.md DESTINATION ${QUORLIN_DOC_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/screenshots/ DESTINATION ${QUORLIN_DOC_DIR}/screenshots
        FILES_MATCHING PATTERN "*.png")

# The Debian package: everything above under /usr, with the libraries the
# programs link found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorlin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Quorlin developers <quorlin@example.invalid>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorlin developers <quorlin@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "line-compare program for programmers and administrators")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorlin compares a NEW and an OLD version of a text file line by line and
reports every line as matched, inserted, deleted, reformatted (differs only
in blanks) or moved, with a summary and statistics section. It can leave
comments of common languages out of the compare, compare chosen columns or
line ranges, compare unordered line lists, run unattended batch jobs, and
show results in coloured viewers. The package holds the desktop program
quorlin, the command-line program quorlin-cli and the git difftool helper
quorlin-difftool.")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS git)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)
