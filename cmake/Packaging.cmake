# Installation in the usual places and a Debian package (cpack -G DEB).
include(GNUInstallDirs)
# Folders are made readable for all, whatever the umask of who installs or packs: a package made
# under umask 077 would otherwise create /usr/share/doc/zadrin and the icon folders closed to users.
set(folder_permissions OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${folder_permissions})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${folder_permissions})
install(TARGETS zadrin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The desktop entry, the software centres' description and the icon in every size, under the program's ID.
set(id org.example.zadrin)
install(FILES resources/${id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/${id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 32 ${ZADRIN_ICON_SIZES})
  install(FILES ${PROJECT_BINARY_DIR}/app/icons/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${id}.png)
endforeach()
install(FILES resources/icons/zadrin.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${id}.svg)
# Copyright, changelog and manual page where Debian's rules want them, compressed reproducibly.
foreach(name changelog zadrin.1)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${name}.gz
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/resources/debian/${name} > ${PROJECT_BINARY_DIR}/${name}.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/debian/${name} VERBATIM)
endforeach()
add_custom_target(package_documents ALL DEPENDS ${PROJECT_BINARY_DIR}/changelog.gz ${PROJECT_BINARY_DIR}/zadrin.1.gz)
install(FILES resources/debian/copyright ${PROJECT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zadrin)
install(FILES ${PROJECT_BINARY_DIR}/zadrin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zadrin)
set(CPACK_PACKAGE_VERSION ${ZADRIN_RELEASE})
set(CPACK_PACKAGE_VENDOR "Zadrin")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Paßwortgenerator: zufällige Keys aus ausgewählten Zeichen")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zadrin <team@zadrin.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The summary above is the first line; CPack indents these lines itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Zadrin erzeugt zufällige Paßwörter (Keys) aus den Zeichen, die in einem Raster\nvon 101 Kästchen angekreuzt sind. Jedes Zeichen wird gleichverteilt mit einem\nkryptographischen Zufallsgenerator gezogen.")
# The libraries the program links come from dpkg-shlibdeps; what Qt loads at run time is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's font is inside the program; message boxes and menus take any system font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core | fonts-liberation2")
# A session with Wayland alone needs the toolkit's Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
include(CPack)
