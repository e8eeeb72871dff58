# Install rules and the Debian package (CPack): bash scripts/package.sh builds
# build/quillclient_<version>_amd64.deb. The stand-in vendor server is not installed.
include(GNUInstallDirs)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(QUILL_APP_ID "org.quillclient.QuillClient")
set(QUILL_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/quillclient")

install(TARGETS quillclient RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/quillclient.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES src/resources/quillclient.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES packaging/quillclient-48.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME quillclient.png)
install(FILES packaging/${QUILL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES README.md packaging/copyright DESTINATION ${QUILL_DOC_DIR})
install(FILES docs/user-guide.md DESTINATION ${QUILL_DOC_DIR} OPTIONAL)
# The guide links its pictures as images/<name>.png.
install(DIRECTORY docs/images DESTINATION ${QUILL_DOC_DIR})

# Debian wants the changelog and the manual page compressed with gzip -9n (no time stamp).
set(QUILL_GZ_DIR ${CMAKE_BINARY_DIR}/packaging)
foreach(pair "packaging/changelog:changelog.gz" "packaging/quillclient.1:quillclient.1.gz")
    string(REPLACE ":" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 target)
    add_custom_command(OUTPUT ${QUILL_GZ_DIR}/${target}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILL_GZ_DIR}
        COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/${source} > ${QUILL_GZ_DIR}/${target}
        DEPENDS ${CMAKE_SOURCE_DIR}/${source} VERBATIM)
    list(APPEND QUILL_GZ_FILES ${QUILL_GZ_DIR}/${target})
endforeach()
add_custom_target(quill_package_files ALL DEPENDS ${QUILL_GZ_FILES})
install(FILES ${QUILL_GZ_DIR}/changelog.gz DESTINATION ${QUILL_DOC_DIR})
install(FILES ${QUILL_GZ_DIR}/quillclient.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillclient)
set(CPACK_PACKAGE_VENDOR "QuillClient developers")
set(CPACK_PACKAGE_CONTACT "QuillClient developers <developers@quillclient.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "credit report ordering client for mortgage loan officers")
set(CPACK_PACKAGE_DESCRIPTION
    "QuillClient runs beside the Quill loan program: it reads the exported loan,\n\
finds out whether the credit vendor already holds a report for it, orders\n\
new reports, repulls and added bureaus, waits for the bureaus, shows or\n\
prints the report and imports its liabilities back into Quill.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils, cups-client")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
