# The Debian package of the program, made by CPack from the installation (scripts/package).
# Its library dependencies are found by dpkg-shlibdeps from the installed program.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME snapord)
set(CPACK_PACKAGE_VERSION ${SNAPORD_VERSION})
set(CPACK_PACKAGE_VENDOR "Snapord")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ordering client of a photo-printing lab")
set(CPACK_PACKAGE_DESCRIPTION
    "Snapord orders prints of the photographs on your computer from a photo lab: choose the photographs,\n\
their format, paper, border and copies, then send the order over the internet or save it to a disk\n\
for the shop. The program speaks Czech.")
set(CPACK_PACKAGE_CONTACT "Snapord <podpora@snapord.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The help and the lab's pages open through xdg-open; a browser is the desktop's business.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "x-www-browser | www-browser")
# Only the program's own files: the lab server and the tests are not installed.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};snapord;/")
include(CPack)
