# What `cmake --install` puts below the prefix, and the Debian package CPack makes of it:
#   bin/quennary
#   libexec/quennary/quennary-privileged   the helper pkexec runs for removals with administrator rights
#   share/quennary/            string tables, cache templates, artwork (AppFolders::resourcesFolder)
#   share/applications/quennary.desktop
#   share/icons/hicolor/{scalable,NxN}/apps/quennary.{svg,png}
include(GNUInstallDirs)

install(TARGETS quennary RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS quennary-privileged RUNTIME DESTINATION ${QNY_HELPER_INSTALL_DIR})
install(DIRECTORY ${QNY_RESOURCES_STAGE}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/quennary)
install(FILES ${CMAKE_SOURCE_DIR}/resources/quennary.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${QNY_ICON_STAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quennary)
# The uninstall note tells the user which package to remove.
target_compile_definitions(qny_app PRIVATE QNY_PACKAGE_NAME="${CPACK_PACKAGE_NAME}")
set(CPACK_PACKAGE_VENDOR "Quennary")
set(CPACK_PACKAGE_CONTACT "Quennary developers <developers@quennary.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Duplicate photo finder")
set(CPACK_PACKAGE_DESCRIPTION
    "Finds exact and near-duplicate photos (and exact duplicate videos) in folders, files and photo
libraries, shows them in groups, and helps remove the surplus copies safely.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quennary.app/")
# dpkg-shlibdeps turns the libraries the program links into runtime package dependencies. The Qt
# plugins are loaded at run time, so nothing links them: the windowing system, the image formats
# beyond the built-in ones.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-image-formats-plugins")
# Removing items that need administrator rights asks through polkit; without it those requests fail.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pkexec")
include(CPack)

if(QNY_BUILD_TESTS)
    # Installs into a temporary prefix and starts the installed program offscreen.
    add_test(NAME install_layout
        COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-install.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(install_layout PROPERTIES TIMEOUT 180)
endif()
