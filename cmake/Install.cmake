# cmake --install: the front-end in bin/, the generators in libexec/tarwick/, the desktop entry,
# icon, AppStream file and manual page in share/; scripts/package makes a .deb of the same.
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)

if(TARGET tarwick)
    install(TARGETS tarwick RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${packaging}/${TARWICK_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/images/icon128.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME ${TARWICK_APP_ID}.svg)
    configure_file(${packaging}/${TARWICK_APP_ID}.metainfo.xml.in
                   ${generated}/${TARWICK_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${generated}/${TARWICK_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
foreach(program vanitygen64 oclvanitygen oclvanityminer64)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${TARWICK_LIBEXEC_DIR})
    endif()
endforeach()

# Debian wants the manual page and the changelog compressed, reproducibly (no name, no time).
foreach(file tarwick.1 changelog)
    add_custom_command(OUTPUT ${generated}/${file}.gz
        COMMAND gzip -9 -n -c ${packaging}/${file} > ${generated}/${file}.gz
        DEPENDS ${packaging}/${file} VERBATIM)
endforeach()
add_custom_target(tarwick_documents ALL
    DEPENDS ${generated}/tarwick.1.gz ${generated}/changelog.gz)
install(FILES ${generated}/tarwick.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging}/copyright ${generated}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarwick)

include(cmake/Package.cmake)
