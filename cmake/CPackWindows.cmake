# Read by cpack for each package of the Windows build: the portable zip takes the portable
# layout, the installer the installed one (see Install.cmake).
if(CPACK_GENERATOR STREQUAL "ZIP")
    set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_DROVAK_BUILD_DIR};drovak;portable;/")
    set(CPACK_PACKAGE_FILE_NAME "Drovak-${CPACK_PACKAGE_VERSION}-windows-x86_64-portable")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON) # unpacks into a folder of its own
else()
    set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_DROVAK_BUILD_DIR};drovak;installed;/")
    set(CPACK_PACKAGE_FILE_NAME "Drovak-${CPACK_PACKAGE_VERSION}-windows-x86_64-setup")
endif()
