# The Debian package of an install tree: `cpack -G DEB` in the build directory gives
# kalo_<version>_<arch>.deb, installing below /usr. Included at the end of the top-level
# CMakeLists.txt.
set(CPACK_PACKAGE_NAME kalo)
set(CPACK_PACKAGE_VENDOR "KALO developers")
set(CPACK_PACKAGE_CONTACT "KALO developers <kalo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "offline browser for the USDA Nutrient Database")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "KALO lists the foods of the USDA National Nutrient Database for Standard Reference by food "
    "group, finds them by words of their description, ranks them by one nutrient and shows each "
    "food's nutrients for a serving of the user's choice. The food data is included.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries (Qt 6, SQLite 3, libzip for kalo-mkdb) are found by dpkg-shlibdeps; the
# Qt platform plugins are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")

include(CPack)
