# A Debian package of the installed tree (scripts/package makes it). The dependencies are
# the runtime packages of what the program links (the Qt packages also hold the xcb
# platform and the GIF and JPEG image plugins it loads) and the Korean fonts its text
# needs on a bare system; tests/desktop checks the list against the binary.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavimo)
set(CPACK_PACKAGE_VENDOR ZELLORY)
set(CPACK_PACKAGE_CONTACT "ZELLORY <tavimo@zellory.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Fast viewer for scanned books and comics")
set(CPACK_PACKAGE_DESCRIPTION "Tavimo opens a folder of pictures, a ZIP archive or a PCO book and pages through it, one page or two side by side, fitted, smoothed, sharpened, rotated or fullscreen, with the next page prepared ahead.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.34), libgcc-s1 (>= 3.4), libstdc++6 (>= 11), libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libturbojpeg0 (>= 1:2.0.2), libjpeg62-turbo (>= 1:2.0.2), libminizip1 (>= 1.1), zlib1g, libarchive13 (>= 3.6), fonts-nanum, fonts-nanum-coding")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
