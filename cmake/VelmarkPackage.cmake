# `cpack -G DEB` in the build folder: a Debian package of what VelmarkInstall.cmake installs,
# under /usr. Its Depends come from dpkg-shlibdeps (package dpkg-dev), which names the package
# of every shared library the programs need, so the package installs on a fresh Debian 12.

set(VELMARK_MAINTAINER "VELMARK Control developers <velmark@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmark)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${VELMARK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control program for VELMARK loudspeaker processors")
set(CPACK_PACKAGE_DESCRIPTION
    "VELMARK Control finds VELMARK loudspeaker-management processors on a serial line (one unit\n"
    "on a USB virtual COM port, or up to 32 on an RS-485 bus), shows each unit's gains, delays,\n"
    "equalisers, crossovers, dynamics and routing in an edit window and sends every change at\n"
    "once. It stores and recalls the unit's programs and saves configurations as preset files.\n"
    "The package also holds velmark-cli (the serial line and the units from a shell),\n"
    "velmark-sim (a simulated unit on a pseudo-terminal) and velmark-scenario.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELMARK_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The man pages, the desktop entry and the icon are taken up by the triggers of man-db,
# desktop-file-utils and the icon theme when those are installed; none of them is needed to run.

include(CPack)
