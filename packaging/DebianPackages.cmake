# The Debian packages, one per install component; `scripts/package` makes
# them, `packaging/check-packages` checks them.

set(ORVANE_MAINTAINER "ORVANE PRO software developers <packages@example.com>" CACHE STRING
  "Maintainer field of the Debian packages")
set(ORVANE_DEB_COMPONENTS application library development emulator ctl)
set(ORVANE_DEB_NAME_application orvane-config)
set(ORVANE_DEB_NAME_library liborvane-pro-dll${ORVANE_LIBRARY_SOVERSION})
set(ORVANE_DEB_NAME_development liborvane-pro-dll-dev)
set(ORVANE_DEB_NAME_emulator orvane-emulator)
set(ORVANE_DEB_NAME_ctl orvanectl)

# Every package carries its copyright file and changelog where Debian wants
# them; the changelog compressed without a time stamp.
string(TIMESTAMP ORVANE_CHANGELOG_DATE "%a, %d %b %Y 00:00:00 +0000" UTC)
configure_file(debian/copyright.in ${CMAKE_CURRENT_BINARY_DIR}/debian/copyright @ONLY)
configure_file(debian/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.gz
  COMMAND ${ORVANE_GZIP} -9nkf ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog
  VERBATIM)
add_custom_target(orvane_debian_changelog ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.gz)
foreach(component IN LISTS ORVANE_DEB_COMPONENTS)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/debian/copyright
                ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${ORVANE_DEB_NAME_${component}}
    COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane-pro)
set(CPACK_PACKAGE_VENDOR Veltrac)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ORVANE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
# Only ours: nothing that a dependency's install rules may bring along.
set(CPACK_COMPONENTS_ALL ${ORVANE_DEB_COMPONENTS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVANE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ORVANE_SUPPORT_SITE}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

foreach(component IN LISTS ORVANE_DEB_COMPONENTS)
  string(TOUPPER ${component} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${ORVANE_DEB_NAME_${component}})
endforeach()

set(CPACK_DEBIAN_APPLICATION_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_EMULATOR_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_CTL_PACKAGE_SECTION utils)

# The library package announces its soname so that programs built against
# it depend on it; the others reach it at run time (the application and the
# update program load it by name), which dpkg-shlibdeps cannot see.
# (Generated for every package that holds a shared object: the library's only.)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/debian/triggers)
# orvanectl links the library: dpkg-shlibdeps must find it, in the library
# component's staging folder beside the one being packaged.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "../library/usr/${CMAKE_INSTALL_LIBDIR}")
set(CPACK_COMPONENT_APPLICATION_DEPENDS library)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS library)
set(CPACK_COMPONENT_CTL_DEPENDS library)
# udev applies the rule; without it (a container) the program still runs.
set(CPACK_DEBIAN_APPLICATION_PACKAGE_RECOMMENDS "udev")
set(CPACK_DEBIAN_APPLICATION_PACKAGE_SUGGESTS "orvane-emulator, orvanectl")
set(CPACK_DEBIAN_APPLICATION_PACKAGE_CONTROL_EXTRA
  ${CMAKE_CURRENT_SOURCE_DIR}/debian/postinst ${CMAKE_CURRENT_SOURCE_DIR}/debian/postrm)

set(CPACK_COMPONENT_APPLICATION_DESCRIPTION
  "configuration program for the ORVANE PRO gaming mouse
OrvaneConfig sets the buttons, resolution levels, report rate and lighting of
the ORVANE PRO wired gaming mouse and the five profiles it keeps in its own
memory, records macros, follows the mouse from the notification area and
updates its firmware.

The package also brings the udev rule that lets the user at the seat open the
mouse, the desktop entry, the icons and the AppStream metainfo.")
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION
  "device-control library for the ORVANE PRO gaming mouse
A flat C interface to the mouse for other programs: settings, profiles,
button functions, event capture, a device-change listener and firmware
updates.")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
  "device-control library for the ORVANE PRO gaming mouse - development files
The header, the pkg-config file and the CMake package for building programs
on the ORVANE PRO device-control library.")
set(CPACK_COMPONENT_EMULATOR_DESCRIPTION
  "simulated ORVANE PRO gaming mouse
orvane-emud serves a model of the mouse's firmware on a Unix socket, and
orvane-emu plugs and unplugs it, presses its buttons, injects faults and dumps
its state, so that the configuration program, orvanectl and programs built on
the device-control library work without the hardware. A systemd user unit
keeps the daemon running for the session.")
set(CPACK_COMPONENT_CTL_DESCRIPTION
  "command-line tool for the ORVANE PRO gaming mouse
orvanectl reads and writes the profile and macro files, sets the mouse
through the device-control library, and checks with 'orvanectl doctor' that
the system lets the user reach the mouse.")

include(CPack)
