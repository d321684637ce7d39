# The Debian package: `cpack -G DEB` in a build tree, or scripts/package.
set(CPACK_PACKAGE_NAME tarnwell)
set(CPACK_PACKAGE_VENDOR "Tarnwell Software")
set(CPACK_PACKAGE_CONTACT "Tarnwell Software <support@tarnwell.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Release builds and web site upkeep for small software vendors")
# Lines of at most 80 characters, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION "Tarnwell makes a software release (version stamping, help build, signing,
installer) and keeps the vendor's web site: it scans the local copy, reports
dead links and publishes changed files to every FTP account.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# Debian ships programs stripped (lintian refuses them otherwise).
set(CPACK_STRIP_FILES ON)
# The libraries the programs link are found by dpkg-shlibdeps; the window
# also needs Qt's platform plugins, which no program links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
