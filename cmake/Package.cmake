# The Debian package, built by CPack from the install rules (scripts/package):
# rivo-iv_<version>-<release>_<arch>.deb in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rivo-iv)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "RIVO-IV")
set(CPACK_PACKAGE_CONTACT "RIVO-IV <rivo-iv@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "scoring and report of an adult intelligence test battery (in Swedish)")
# The long description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "RIVO-IV keeps a register of test persons, takes the raw scores of an adult
intelligence test battery and gives scaled scores, index scores, IQ and GAI
with percentiles and confidence intervals, discrepancy and process-score
analyses, a five-page report on screen and on paper, and a tab-separated
export. rivo-admin creates the database and runs export and report without a
window.

The bundled norm tables are synthetic demonstration data and must not be
used for clinical assessment.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link (Qt, unixODBC, the C++ run time) come from dpkg-shlibdeps;
# what they load at run time is named here: the SQLite3 ODBC driver and the registry it is
# entered in, the fonts the pages are drawn with, Qt's Swedish texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libsqliteodbc, odbcinst, fonts-liberation, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
