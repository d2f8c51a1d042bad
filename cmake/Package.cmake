# SPDX-License-Identifier: Apache-2.0
# The Debian package, built by CPack from the install rules (scripts/package):
# rivo-iv_<version>-<release>_<arch>.deb in the build folder.
set(CPACK_GENERATOR DEB)

# The package's maintainer, named in the package, its changelog and its copyright file. The
# project has no mail address yet: example.org is a placeholder that lintian accepts.
set(RIVO_MAINTAINER "RIVO-IV <rivo-iv@example.org>"
    CACHE STRING "Maintainer of the Debian package: Name <address>")

set(CPACK_PACKAGE_NAME rivo-iv)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "RIVO-IV")
set(CPACK_PACKAGE_CONTACT "${RIVO_MAINTAINER}")
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

# The package's documents: the copyright file (machine-readable, the licence by reference to
# Debian's copy), the user's changelog and the Debian changelog made from it, compressed as Debian
# keeps them (gzip -n: no name or time stamp inside).
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${PROJECT_BINARY_DIR}/doc/copyright
               @ONLY)
add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/doc/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/CHANGELOG.md changelog
    COMMAND ${RIVO_GZIP} -9nf changelog
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/doc
    DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md
    COMMENT "Compressing the changelog"
    VERBATIM)
add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/doc/changelog.Debian.gz
    COMMAND ${CMAKE_COMMAND} -DCHANGELOG=${PROJECT_SOURCE_DIR}/CHANGELOG.md
            -DOUTPUT=${PROJECT_BINARY_DIR}/doc/changelog.Debian -DPACKAGE=${CPACK_PACKAGE_NAME}
            -DVERSION=${CPACK_PACKAGE_VERSION} -DRELEASE=${CPACK_DEBIAN_PACKAGE_RELEASE}
            -DMAINTAINER=${RIVO_MAINTAINER} -P ${PROJECT_SOURCE_DIR}/cmake/DebianChangelog.cmake
    COMMAND ${RIVO_GZIP} -9nf changelog.Debian
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/doc
    DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/cmake/DebianChangelog.cmake
    COMMENT "Writing the Debian changelog"
    VERBATIM)
add_custom_target(rivo_package_docs ALL DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog.gz
                                                ${PROJECT_BINARY_DIR}/doc/changelog.Debian.gz)
install(FILES ${PROJECT_BINARY_DIR}/doc/copyright ${PROJECT_BINARY_DIR}/doc/changelog.gz
              ${PROJECT_BINARY_DIR}/doc/changelog.Debian.gz
        DESTINATION ${RIVO_DOCDIR})
# What lintian is told to accept, each with its reason.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${CPACK_PACKAGE_NAME})
