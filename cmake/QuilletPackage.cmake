# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package (`cpack -G DEB` in the build folder): what cmake --install
# puts in place, under /usr, with the libraries it needs found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VENDOR "The Quillet developers")
set(CPACK_PACKAGE_CONTACT "The Quillet developers <quillet@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and viewer for Russian texts in every Cyrillic code page")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quillet.example.org/")
# Free software: GPL-3.0-or-later, said in /usr/share/doc/quillet/copyright (installed
# with the rest) for Debian's tools, and in COPYING for the generators that show it.
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/COPYING")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The executables lose their debugging information, not the build tree's copies.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Built with Qt's private headers (for very long paragraphs), the program needs the
# very Qt it was built with: Debian's Qt names that version for such programs.
get_property(quillet_qt_private GLOBAL PROPERTY QUILLET_QT_PRIVATE)
if(quillet_qt_private)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-base-abi (= ${Qt6Core_VERSION})")
endif()
# Not linked, so not found by shlibdeps: the face that stands in for Courier New,
# the toolkit's own dialogs in Russian, and the tools that refresh the desktop's
# caches after the settings dialog changed the user's file types.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-translations-l10n, desktop-file-utils, shared-mime-info")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillet opens plain-text and RTF files holding Russian text in whatever code
page it arrived in: MS-DOS 866, Windows-1251, KOI8-R, Macintosh Cyrillic,
ISO 8859-5, UTF-16 and UTF-8. It detects a file's encoding, reads the same
bytes again in another code page with one button, turns DOS pseudo-graphic
tables into real tables, edits with rich formatting, saves in any of the code
pages or as RTF, and prints.
.
The package also holds quillet-conv, which detects and converts encodings on
the command line exactly as the editor does, and quillet-view, which shows a
file in a waiting Quillet window.")
include(CPack)
