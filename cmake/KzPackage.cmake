# `cpack -G DEB` in a build folder makes a Debian package of the installed tree
# (cmake/KzInstall.cmake) under /usr. Its dependencies are the library packages
# the binaries need, as dpkg-shlibdeps (package dpkg-dev) finds them.
set(CPACK_PACKAGE_NAME kzpde)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Print panel of the KZ Print Server for CUPS, and its command-line tool")
set(CPACK_PACKAGE_DESCRIPTION "The plug-in bundle of the KZ Print Server's print panel, its pane bundles and\nruntime library, and kzpde, the host that loads the bundle as a print dialog\ndoes and offers commands on the panel's data and files.")
set(KZ_PACKAGE_CONTACT "kzpde maintainers <kzpde@localhost>" CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT ${KZ_PACKAGE_CONTACT})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The bundle's own libraries are found there, not among the system's packages
# (relative to the staging folder in which CPack runs dpkg-shlibdeps).
string(REGEX REPLACE "^/" "" kz_staged_prefix ${CPACK_PACKAGING_INSTALL_PREFIX})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${kz_staged_prefix}/${KZ_INSTALL_BUNDLE_DIR}/Contents/Frameworks)
set(CPACK_GENERATOR DEB)
include(CPack)
