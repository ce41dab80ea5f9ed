# Installation and packages of both editions, each from its own build:
#
#   cmake --install <build> [--prefix <dir>]   the files of the edition
#   cpack --config <build>/CPackConfig.cmake   its package: on Linux
#                                              ornet5_<version>_<arch>.deb, in
#                                              the Windows build (build/windows)
#                                              ORNET5-<version>-setup.exe
#
# scripts/package.sh and scripts/windows-installer.sh run both steps.

set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ORNET5 developers")

# ---------------------------------------------------------------------------
# The Windows edition: ORNET5.exe alone, installed by an NSIS installer under
# Program Files\ORNET5, with a Start-menu entry and an entry under "Apps &
# features". Only what it installs is uninstalled: the settings file
# ORNET5.INI and the data the program writes under %LOCALAPPDATA%\ORNET5
# belong to the user and stay.
if(WIN32)
    if(TARGET ORNET5)
        install(TARGETS ORNET5 RUNTIME DESTINATION .)
    endif()
    set(CPACK_GENERATOR NSIS)
    set(CPACK_PACKAGE_NAME ORNET5)
    set(CPACK_PACKAGE_FILE_NAME ORNET5-${PROJECT_VERSION}-setup)
    set(CPACK_PACKAGE_INSTALL_DIRECTORY ORNET5)
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ORNET5)
    # The program file is 64-bit: its place is Program Files, not the 32-bit
    # Program Files (x86).
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    # The name of the Start-menu entry and of the "Apps & features" entry.
    set(CPACK_NSIS_DISPLAY_NAME "ОРНЕТ-5")
    set(CPACK_NSIS_PACKAGE_NAME "ОРНЕТ-5")
    # The installed program: started by the entries, and its icon is theirs.
    set(CPACK_NSIS_INSTALLED_ICON_NAME ORNET5.exe)
    set(CPACK_NSIS_MUI_ICON ${CMAKE_BINARY_DIR}/app/win32/program-icon.ico)
    set(CPACK_NSIS_MUI_UNIICON ${CPACK_NSIS_MUI_ICON})
    set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
    # The installer's own script (packaging/windows/NSIS.template.in) in
    # place of CPack's, and its Russian texts read as UTF-8 whatever the
    # build machine's locale.
    set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging/windows)
    set(CPACK_NSIS_EXECUTABLE_PRE_ARGUMENTS "INPUTCHARSET UTF8")
    include(CPack)
    return()
endif()

# ---------------------------------------------------------------------------
# The Linux edition: the program, the simulator, the desktop entry and the
# icon, the logging service with its unit and example configuration, and the
# Debian package of them.
if(NOT UNIX)
    return()
endif()

include(GNUInstallDirs)

if(TARGET ORNET5)
    install(TARGETS ORNET5 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # Desktop environments find entries and icons only at these places;
    # the entry's Icon= names the icon file without its extension.
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/ornet5.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/app/resources/program-icon.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
            RENAME ornet5.png)
endif()
# For people without a detector: the monitor can be tried against it.
install(TARGETS ornet5-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET ornet5d)
    install(TARGETS ornet5d RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # The unit and the example configuration belong at the system's own
    # places (/lib/systemd/system, /etc/ornet5) when the prefix is /usr, as
    # in the package; under any other prefix (~/.local) they go below it,
    # where an installation as a user can write them and they harm nothing.
    install(CODE "
        if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
            set(ornet5SystemRoot \"\")
        else()
            set(ornet5SystemRoot \"\${CMAKE_INSTALL_PREFIX}\")
        endif()
        file(INSTALL \"${PROJECT_SOURCE_DIR}/packaging/ornet5d.service\"
             DESTINATION \"\${ornet5SystemRoot}/lib/systemd/system\")
        file(INSTALL \"${PROJECT_SOURCE_DIR}/packaging/ornet5d.conf\"
             DESTINATION \"\${ornet5SystemRoot}/etc/ornet5\")
    ")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ornet5)
set(CPACK_PACKAGE_CONTACT "ORNET5 developers <ornet5@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dose-rate monitor for ORNET-5 gamma detectors")
set(CPACK_PACKAGE_DESCRIPTION
    "Polls an ORNET-5 gamma dose-rate detector on a serial line every 3 s and shows \
the dose rate in large digits in an always-on-top window, in uSv/h or uR/h. \
Includes ornet5d, a logging service for one or many detectors that keeps their \
dose journals and publishes the dose to MQTT and Prometheus (installed, not \
enabled), and ornet5-sim, a detector simulator on a pseudo-terminal, for trying \
the monitor without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries come from dpkg-shlibdeps. Qt loads its X11 platform
# plugin and the fonts at run time, which no linker sees: without the plugin
# the program cannot open a window, without the fonts the design's metrics
# are lost. The postinst makes the service's user with adduser.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, adduser")
# The service's user (postinst), its stop on removal (prerm), and the
# example configuration kept through upgrades as the administrator edited it
# (conffiles).
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/packaging/debian/conffiles
    ${PROJECT_SOURCE_DIR}/packaging/debian/postinst
    ${PROJECT_SOURCE_DIR}/packaging/debian/prerm
    ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
