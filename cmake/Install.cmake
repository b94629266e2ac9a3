# Install layout and the Debian package.
#
# `cmake --install` puts the program, its desktop entry, its icons and its AppStream
# metainfo where desktops and software centres look for them; `cpack` wraps the same
# files into korvane_<version>_<arch>.deb.

include(GNUInstallDirs)

# One reverse-DNS id, KORVANE_APP_ID, names the desktop entry, the icons and the metainfo
# component; the program passes the same id to QGuiApplication::setDesktopFileName so that
# Wayland compositors match the window to its entry. The entry and the metainfo are made from
# templates that take the product's name, description, version and id from the project.
set(KORVANE_DATA_DIR ${PROJECT_BINARY_DIR}/data)
set(KORVANE_ICON_DIR ${PROJECT_SOURCE_DIR}/app/resources)
configure_file(${PROJECT_SOURCE_DIR}/data/korvane.desktop.in
               ${KORVANE_DATA_DIR}/${KORVANE_APP_ID}.desktop @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/korvane.metainfo.xml.in
               ${KORVANE_DATA_DIR}/${KORVANE_APP_ID}.metainfo.xml @ONLY)

install(TARGETS korvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${KORVANE_DATA_DIR}/${KORVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KORVANE_DATA_DIR}/${KORVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The window icon's PNG renders, one per hicolor size, and the drawing they were made from.
foreach(size 16 32 48 256)
    install(FILES ${KORVANE_ICON_DIR}/icon-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${KORVANE_APP_ID}.png)
endforeach()
install(FILES ${KORVANE_ICON_DIR}/korvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${KORVANE_APP_ID}.svg)

# Debian package. Only the files above are installed: the tests, benchmarks and tools have
# no install rules, so they stay out of the package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${KORVANE_PRODUCT_NAME} developers")
set(CPACK_PACKAGE_CONTACT "${KORVANE_PRODUCT_NAME} developers <maintainers@korvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# The extended description, wrapped for the control file (CPack indents each line).
set(CPACK_PACKAGE_DESCRIPTION
    "${KORVANE_PRODUCT_NAME} gathers everyday calculations of a print shop in one small window:\n\
sheet imposition with a layout diagram, paper weight conversion, book spine\n\
width and colour matching. The interface is in Simplified Chinese.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY korvane)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Packages carry no debug information, whatever the build type.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps derives the Qt and C++ runtime packages from the linked libraries. The
# CJK font the window is drawn with is looked up at run time, not linked, so it is named
# here: without a CJK font the Chinese captions cannot be drawn.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
# Qt's own save and print dialogs in Chinese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

include(CPack)
