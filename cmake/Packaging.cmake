# Installation in the usual places and a Debian package (cpack -G DEB).
include(GNUInstallDirs)
install(TARGETS zadrin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/zadrin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/zadrin.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zadrin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_VENDOR "Zadrin")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Paßwortgenerator: zufällige Keys aus ausgewählten Zeichen")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zadrin <team@zadrin.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Paßwortgenerator\n Zadrin makes random passwords (keys) from the characters ticked in a grid of\n 101 boxes, drawing each character uniformly with a cryptographic random source.")
# The libraries the program links come from dpkg-shlibdeps; what Qt loads at run time is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2 | fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
