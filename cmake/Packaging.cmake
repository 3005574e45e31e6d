# Install rules and the desktop package. Install destinations are portable (GNUInstallDirs); the
# Debian settings apply only where a .deb is built, so Windows and macOS configure unchanged.

include(GNUInstallDirs)

# The package script builds exactly the programs it installs; without this, cpack's install step
# would first build every target, the tests included.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

if(TARGET deployqpx)
    install(TARGETS deployqpx
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        BUNDLE DESTINATION .)
    # Help looks for the guide in the folder of the program itself (ui/HelpFile.cpp).
    if(APPLE)
        install(FILES docs/help/deployqpx-help.html DESTINATION deployqpx.app/Contents/MacOS)
    else()
        install(FILES docs/help/deployqpx-help.html DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endif()
if(TARGET qpxctl)
    install(TARGETS qpxctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET qpx-sim)
    install(TARGETS qpx-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Desktop entry and icon where the freedesktop menus read them.
if(UNIX AND NOT APPLE AND TARGET deployqpx)
    install(FILES packaging/deployqpx.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES src/ui/resources/deployqpx-icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME deployqpx.svg)
endif()

set(CPACK_PACKAGE_NAME deployqpx)
set(CPACK_PACKAGE_VENDOR "DeployQpx")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Deployment utility for the QPX current profiler")
set(CPACK_PACKAGE_DESCRIPTION
    "Finds a QPX current profiler on a serial port, downloads its configuration, plans the \
deployment with live validation and endurance estimates, uploads the settings and starts the \
deployment. Includes the command-line tool qpxctl and the instrument simulator qpx-sim.")
set(CPACK_PACKAGE_CONTACT "DeployQpx maintainers <deployqpx@example.com>")
set(CPACK_STRIP_FILES ON)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # deployqpx_<version>_<arch>.deb
    set(CPACK_DEBIAN_PACKAGE_SECTION science)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.com/deployqpx")
    # dpkg-shlibdeps (dpkg-dev) finds the exact libraries and versions the programs link. Without
    # it the Debian 12 runtime libraries are named by hand.
    find_program(QPX_DPKG_SHLIBDEPS dpkg-shlibdeps)
    if(QPX_DPKG_SHLIBDEPS)
        set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    else()
        set(CPACK_DEBIAN_PACKAGE_DEPENDS
            "libc6, libstdc++6, libgcc-s1, libqt6core6, libqt6gui6, libqt6widgets6, libqt6serialport6, libqt6svg6")
    endif()
elseif(WIN32)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR TGZ)
endif()

include(CPack)
