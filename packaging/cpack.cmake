# The Debian package of an install tree: `cpack -G DEB` in the build directory gives
# kalo_<version>_<arch>.deb, installing below /usr. Included at the end of the top-level
# CMakeLists.txt.
set(CPACK_PACKAGE_NAME kalo)
set(CPACK_PACKAGE_VENDOR "KALO developers")
# The project has no mail address of its own yet; the reserved .invalid domain says so honestly.
set(CPACK_PACKAGE_CONTACT "KALO developers <kalo@kalo-nutrients.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "offline browser for the USDA Nutrient Database")
# The long description in lines of under 80 characters, as Debian wants it.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "KALO lists the foods of the USDA National Nutrient Database for Standard\n"
    "Reference by food group, finds them by words of their description, ranks\n"
    "them by one nutrient (Top 15) and shows each food's nutrients for a serving\n"
    "of the user's choice. Foods can be bookmarked.\n"
    "\n"
    "The food data (7,906 foods of Release 24) is included, so the program works\n"
    "offline. kalo-mkdb builds the food database from other USDA releases.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries (Qt 6, SQLite 3, libzip for kalo-mkdb) are found by dpkg-shlibdeps; the
# Qt platform plugins are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Control files with the permissions dpkg gives them (md5sums 0644).
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
