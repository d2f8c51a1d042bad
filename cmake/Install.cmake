# cmake --install: the program, rivo-admin and libstavro (in a folder of the program's own,
# found through the run path), the icon in the hicolor theme, the menu entry, the AppStream
# metainfo and the man pages, in their FHS places under CMAKE_INSTALL_PREFIX.
include(GNUInstallDirs)

set(RIVO_APP_ID se.rivoiv.RIVO_IV)
set(RIVO_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/rivo-iv)

# The programs find libstavro relative to themselves, so the installed tree may be moved (and
# the package's files work wherever CPack puts them).
file(RELATIVE_PATH RIVO_LIB_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_LIBDIR}/rivo-iv)
set_target_properties(RIVO_IV rivo-admin PROPERTIES INSTALL_RPATH "$ORIGIN/${RIVO_LIB_FROM_BIN}")

install(TARGETS RIVO_IV rivo-admin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS stavro LIBRARY DESTINATION ${RIVO_PRIVATE_LIBDIR} NAMELINK_SKIP)

foreach(size IN LISTS RIVO_ICON_SIZES)
    install(FILES ${RIVO_ICON_DIR}/${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${RIVO_APP_ID}.png)
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/desktop/${RIVO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${PROJECT_SOURCE_DIR}/desktop/${RIVO_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/desktop/${RIVO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/desktop/${RIVO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Man pages, compressed as Debian keeps them (gzip -n: no name or time stamp inside).
find_program(RIVO_GZIP gzip REQUIRED)
set(RIVO_MAN_PAGES)
foreach(page RIVO_IV.1 rivo-admin.1)
    configure_file(${PROJECT_SOURCE_DIR}/man/${page} ${PROJECT_BINARY_DIR}/man/${page} @ONLY)
    add_custom_command(
        OUTPUT ${PROJECT_BINARY_DIR}/man/${page}.gz
        COMMAND ${RIVO_GZIP} -9nf -k ${PROJECT_BINARY_DIR}/man/${page}
        DEPENDS ${PROJECT_BINARY_DIR}/man/${page}
        COMMENT "Compressing the man page ${page}")
    list(APPEND RIVO_MAN_PAGES ${PROJECT_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(rivo_man ALL DEPENDS ${RIVO_MAN_PAGES})
install(FILES ${RIVO_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(RIVO_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/rivo-iv)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${RIVO_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/README.md DESTINATION ${RIVO_DOCDIR}
        RENAME demonstration-norms.md)

# Examples of a nightly backup: a systemd user timer and its service.
install(FILES ${PROJECT_SOURCE_DIR}/examples/rivo-backup.service
              ${PROJECT_SOURCE_DIR}/examples/rivo-backup.timer
        DESTINATION ${RIVO_DOCDIR}/examples)
