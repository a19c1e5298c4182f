# The Debian package: `make package` (cpack -G DEB in the build folder) writes verdan_VERSION_amd64.deb.
# Its Depends come from dpkg-shlibdeps; the desktop's caches (menu, MIME types, icons, manual pages) are
# refreshed by the triggers of the packages that own them, so the package has no scripts of its own.
set(VERDAN_MAINTAINER "Verdan developers <verdan@example.org>" CACHE STRING "Maintainer field of the package")

install(FILES resources/icons/verdan.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES resources/icons/verdan.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
    RENAME application-x-verdan-tree.svg)
install(FILES ${lang_documents_for_install} DESTINATION ${CMAKE_INSTALL_DATADIR}/verdan/langs)
install(FILES resources/sample/sample-family.ged DESTINATION ${CMAKE_INSTALL_DATADIR}/verdan/sample)

# The changelog of a native package, and the copyright file Debian asks of every package.
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(changelog ${CMAKE_BINARY_DIR}/package/changelog)
file(WRITE ${changelog}
    "verdan (${PROJECT_VERSION}) unstable; urgency=medium\n\n  * Version ${PROJECT_VERSION}.\n\n"
    " -- ${VERDAN_MAINTAINER}  ${changelog_date}\n")
add_custom_command(OUTPUT ${changelog}.gz COMMAND gzip -9nkf ${changelog} DEPENDS ${changelog})
add_custom_target(verdan_changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${changelog}.gz resources/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/verdan)

# `make package` builds first; cpack then only installs what the build made.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME verdan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VERDAN_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-core, qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack indents the lines after the synopsis itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "editor of Arabic patrilineal family trees
Verdan keeps one family tree per .vrd file and shows it as an outline that
follows father lines, with Hijri and Gregorian dates, marriages,
breastfeeding relations, family charts and lists, in Arabic, English,
Persian or Urdu. verdan-cli does the same from a shell: tree files,
GEDCOM import and export, lists, charts, kinship and calendars.")
include(CPack)
