# Install layout and the two Windows packages.
#
# `cmake --install` puts korvane.exe and the read-me side by side in one folder. `cpack`
# (run in the build directory) wraps the same two files into
#   korvane-<version>-win64.zip   to unpack anywhere and run in place, and
#   korvane-<version>-win64.exe   a 64-bit NSIS installer: Program Files\Korvane by default
#                                 (/D=<folder> to choose another), a Start-menu folder with
#                                 Korvane and Uninstall, an entry in Programs and Features,
#                                 and silent operation with /S (the uninstaller too).
# scripts/check-windows-install.sh checks the installer under Wine.

install(TARGETS korvane RUNTIME DESTINATION .)
# English and Simplified Chinese, UTF-8 with a byte order mark and CRLF line ends, so that
# Notepad on every supported Windows shows it right.
install(FILES ${PROJECT_SOURCE_DIR}/win32/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_SOURCE_GENERATOR "")
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR ${KORVANE_PRODUCT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${KORVANE_PRODUCT_NAME}: ${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_FILE_NAME korvane-${PROJECT_VERSION}-win64)
# Folder under Program Files, Start-menu folder and registry key names.
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${KORVANE_PRODUCT_NAME})
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${KORVANE_PRODUCT_NAME})
# The Start-menu shortcut: korvane.exe, named after the product.
set(CPACK_PACKAGE_EXECUTABLES korvane ${KORVANE_PRODUCT_NAME})
# korvane.exe is linked stripped already.
set(CPACK_STRIP_FILES OFF)

# NSIS. A 64-bit installer (see the wrapper) installing into the 64-bit Program Files.
set(CPACK_NSIS_EXECUTABLE ${PROJECT_SOURCE_DIR}/cmake/makensis-amd64.sh)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME ${KORVANE_PRODUCT_NAME})
set(CPACK_NSIS_DISPLAY_NAME ${KORVANE_PRODUCT_NAME})
# In place of "Nullsoft Install System" at the foot of the pages. Not CPACK_NSIS_BRANDING_TEXT:
# CPack then adds /TRIMLEFT, which makensis refuses on Linux. (NSIS quotes: CPack loses
# double quotes inside a value.)
set(CPACK_NSIS_DEFINES "BrandingText '${KORVANE_PRODUCT_NAME} ${PROJECT_VERSION}'")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/app/resources/korvane.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/app/resources/korvane.ico)
# The icon Programs and Features shows: the program's own.
set(CPACK_NSIS_INSTALLED_ICON_NAME korvane.exe)
# No licence text to agree to (CPack would otherwise show CMake's own licence).
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
# Korvane has nothing to add to PATH.
set(CPACK_NSIS_MODIFY_PATH OFF)
# Installing over an installed Korvane first runs its uninstaller (silently with /S).
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# "Start Korvane" on the last page of an interactive install.
set(CPACK_NSIS_MUI_FINISHPAGE_RUN korvane.exe)

include(CPack)
