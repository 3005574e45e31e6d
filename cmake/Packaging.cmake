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
# Windows: the Qt DLLs, the platform plugin and the rest of what deployqpx.exe loads, put beside
# it by Qt's own windeployqt, from the Qt kit the program was built with.
if(WIN32 AND TARGET deployqpx)
    find_program(QPX_WINDEPLOYQT windeployqt HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}"
        REQUIRED)
    # MSVC's runtime comes from InstallRequiredSystemLibraries below; MinGW's (libstdc++, libgcc,
    # winpthread) windeployqt copies from the kit itself.
    if(MSVC)
        set(qpx_runtime_option --no-compiler-runtime)
    endif()
    install(CODE "
        set(qpx_bin \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        execute_process(COMMAND \"${QPX_WINDEPLOYQT}\" $<IF:$<CONFIG:Debug>,--debug,--release>
                --no-translations --no-opengl-sw ${qpx_runtime_option}
                \"\${qpx_bin}/deployqpx.exe\"
            RESULT_VARIABLE qpx_result)
        if(NOT qpx_result EQUAL 0)
            message(FATAL_ERROR \"windeployqt failed: \${qpx_result}\")
        endif()")
    if(MSVC)
        set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION ${CMAKE_INSTALL_BINDIR})
        include(InstallRequiredSystemLibraries)
    endif()
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
# qpx-sim runs on a pseudo-terminal and is not built on Windows.
if(TARGET qpx-sim)
    set(QPX_PACKAGE_TOOLS "the command-line tool qpxctl and the instrument simulator qpx-sim")
else()
    set(QPX_PACKAGE_TOOLS "the command-line tool qpxctl")
endif()
set(CPACK_PACKAGE_DESCRIPTION
    "Finds a QPX current profiler on a serial port, downloads its configuration, plans the \
deployment with live validation and endurance estimates, uploads the settings and starts the \
deployment. Includes ${QPX_PACKAGE_TOOLS}.")
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
    # An installer (NSIS 3, makensis on the PATH) and the same files as a ZIP to unpack anywhere.
    set(CPACK_GENERATOR NSIS ZIP)
    set(CPACK_PACKAGE_INSTALL_DIRECTORY "DeployQpx")
    set(CPACK_NSIS_PACKAGE_NAME "DeployQpx ${PROJECT_VERSION}")
    set(CPACK_NSIS_DISPLAY_NAME "DeployQpx")
    set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/packaging/deployqpx.ico")
    set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/packaging/deployqpx.ico")
    set(CPACK_NSIS_INSTALLED_ICON_NAME "${CMAKE_INSTALL_BINDIR}\\\\deployqpx.exe")
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
    # 64-bit programs go to "Program Files", not "Program Files (x86)".
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    # Start menu: the program and its user guide (help looks for the guide beside the program).
    set(CPACK_PACKAGE_EXECUTABLES deployqpx "DeployQpx")
    set(CPACK_NSIS_MENU_LINKS
        "${CMAKE_INSTALL_BINDIR}/deployqpx-help.html" "DeployQpx User Guide")
    set(CPACK_NSIS_URL_INFO_ABOUT "https://example.com/deployqpx")
else()
    set(CPACK_GENERATOR TGZ)
endif()

include(CPack)
