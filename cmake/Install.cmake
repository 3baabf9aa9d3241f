# The installed layout (GNUInstallDirs): the program in bin/, its shipped files read in place
# from share/drovak/, and the desktop's entries, icons, metainfo, man page and licence.
if(NOT TARGET drovak)
    return()
endif()

# Windows: two packages from one build, each a layout of its own (an install component).
# The portable zip: drovak.exe, its shipped files in data\ beside it, a short readme. The
# installer (NSIS, cmake/nsis/NSIS.template.in): the installed layout, bin\ and share\drovak\,
# whose program keeps the user's files in %APPDATA%\Drovak. `cpack` in the build folder makes
# both; cmake/CPackWindows.cmake picks each one's component.
if(WIN32)
    install(TARGETS drovak RUNTIME DESTINATION . COMPONENT portable)
    install(DIRECTORY ${DROVAK_ASSETS_DIR}/ DESTINATION data COMPONENT portable
            PATTERN preview EXCLUDE)
    install(FILES ${CMAKE_SOURCE_DIR}/data/windows/README.txt DESTINATION . COMPONENT portable)
    install(TARGETS drovak RUNTIME DESTINATION bin COMPONENT installed)
    install(DIRECTORY ${DROVAK_ASSETS_DIR}/ DESTINATION share/drovak COMPONENT installed
            PATTERN preview EXCLUDE)
    foreach(component portable installed)
        install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt
                COMPONENT ${component})
    endforeach()
    set(CPACK_GENERATOR ZIP NSIS)
    set(CPACK_MONOLITHIC_INSTALL ON)
    set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/CPackWindows.cmake)
    set(CPACK_DROVAK_BUILD_DIR ${CMAKE_BINARY_DIR})
    set(CPACK_DROVAK_ICON ${DROVAK_ASSETS_DIR}/icons/drovak.ico)
    set(CPACK_PACKAGE_NAME Drovak)
    set(CPACK_PACKAGE_VENDOR "The Drovak developers")
    set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
    set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
    set(CPACK_STRIP_FILES ON)
    list(APPEND CMAKE_MODULE_PATH ${CMAKE_SOURCE_DIR}/cmake/nsis)
    include(CPack)
    return()
endif()

install(TARGETS drovak RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The .ico is the Windows program's own icon, built into drovak.exe.
install(DIRECTORY ${DROVAK_ASSETS_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/drovak
        PATTERN preview EXCLUDE PATTERN drovak.ico EXCLUDE)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${DROVAK_ASSETS_DIR}/icons/drovak-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME drovak.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/data/drovak.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

set(generated ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/data/drovak.metainfo.xml.in
               ${generated}/org.example.drovak.metainfo.xml @ONLY)
install(FILES ${generated}/org.example.drovak.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian wants manuals and changelogs compressed, without a time stamp in the gzip header.
set(VERSION ${PROJECT_VERSION})
configure_file(${CMAKE_SOURCE_DIR}/docs/drovak.1 ${generated}/drovak.1 @ONLY)
add_custom_command(OUTPUT ${generated}/drovak.1.gz ${generated}/changelog.gz
    COMMAND gzip -9nc ${generated}/drovak.1 > ${generated}/drovak.1.gz
    COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/CHANGELOG.md > ${generated}/changelog.gz
    DEPENDS ${generated}/drovak.1 ${CMAKE_SOURCE_DIR}/CHANGELOG.md VERBATIM)
add_custom_target(drovak_docs ALL DEPENDS ${generated}/drovak.1.gz ${generated}/changelog.gz)
install(FILES ${generated}/drovak.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

# cpack -G DEB in a build folder: a .deb whose dependencies dpkg-shlibdeps finds.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME drovak)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Drovak developers <drovak@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the pilot files of the game F-22 Raptor")
set(CPACK_PACKAGE_DESCRIPTION "Drovak keeps a folder of F-22 Raptor player files, lists them and edits
a pilot's callsign, squadron name and password, IP address, side and server
name in the game's own font, with its colour codes. It puts the chosen pilot
into the game or into an e-mail. A command line shows and changes pilot files
without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# An editor of a game's files, not a game: Debian keeps those in utils.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Sounds come through libcanberra, opened at run time: without it the program is silent.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, libcanberra0")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
