# Installation of the Linux edition and its Debian package.
#
#   cmake --install <build> [--prefix <dir>]   the program, the simulator,
#                                              the desktop entry and the icon
#   cpack --config <build>/CPackConfig.cmake   ornet5_<version>_<arch>.deb
#
# scripts/package.sh runs both steps on a build made for the package.

# The Windows edition is a single program file with no installer here.
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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ornet5)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ORNET5 developers")
set(CPACK_PACKAGE_CONTACT "ORNET5 developers <ornet5@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dose-rate monitor for ORNET-5 gamma detectors")
set(CPACK_PACKAGE_DESCRIPTION
    "Polls an ORNET-5 gamma dose-rate detector on a serial line every 3 s and shows \
the dose rate in large digits in an always-on-top window, in uSv/h or uR/h. \
Includes ornet5-sim, a detector simulator on a pseudo-terminal, for trying the \
monitor without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries come from dpkg-shlibdeps. Qt loads its X11 platform
# plugin and the fonts at run time, which no linker sees: without the plugin
# the program cannot open a window, without the fonts the design's metrics
# are lost.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
