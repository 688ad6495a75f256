# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` and the Debian package put where (GNUInstallDirs): the three
# programs, their language and help files in the data folder the program searches,
# the desktop entry made from the template the settings' desktop mirror fills too,
# the icon in the hicolor theme, the AppStream metainfo, the manual pages and the
# machine-readable copyright file where Debian looks for a package's licence.

install(TARGETS quillet quillet-conv quillet-view RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/src/app/quillet.ru ${PROJECT_SOURCE_DIR}/resources/help/Quillpad.hlp
        DESTINATION ${QUILLET_INSTALL_DATADIR})

# The installed entry opens every file given (the mirror's own entry is one per
# extension the user chose, and marks itself as the mirror's).
set(QUILLET_EXEC "quillet %F")
set(QUILLET_MIME_TYPES "text/plain;text/rtf;application/rtf;text/x-log;text/x-nfo;")
configure_file(${PROJECT_SOURCE_DIR}/resources/quillet.desktop.in ${PROJECT_BINARY_DIR}/quillet.desktop @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quillet.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/io.github.quillet.Quillet.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
# The licence's full text is the system's (/usr/share/common-licenses/GPL-3), as
# Debian wants it, so COPYING itself is not installed.
install(FILES ${PROJECT_SOURCE_DIR}/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillet)

# Manual pages, compressed as Debian keeps them (no time stamp, so builds agree).
find_program(QUILLET_GZIP gzip REQUIRED)
set(quillet_man_pages)
foreach(page quillet quillet-conv quillet-view)
  set(out ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${QUILLET_GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/resources/man/${page}.1 > ${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/man/${page}.1
    COMMENT "Compressing the manual page ${page}.1")
  list(APPEND quillet_man_pages ${out})
endforeach()
add_custom_target(quillet_man_pages ALL DEPENDS ${quillet_man_pages})
install(FILES ${quillet_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
