# The three Debian packages. Their dependencies on system libraries come from dpkg-shlibdeps;
# the libkxlf1 dependency of the other two from the component relations below, since
# dpkg-shlibdeps knows no package of a library that is only being built.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_PACKAGE_NAME kx-vantrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orv Applikationen")
set(CPACK_PACKAGE_CONTACT "KX-M71 Vantrel developers <developers@kx-vantrel.example>")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
# Installed as into / with DESTDIR, so that the files finished while installing (kxlf.pc) name
# /usr and not the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE kx-vantrel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps finds libkxlf.so.1 where it is built.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/sdk)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME kx-vantrel)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION electronics)
# Qt loads its platform plugins at run time, out of sight of dpkg-shlibdeps.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_COMPONENT_PROGRAM_DEPENDS library)
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION
  "programs 134.2 kHz RFID transponders through a KX reader
KX-M71 Vantrel reads and writes low-frequency transponders (Read Only, TI
Read / Write, TI Multi Page, TI HDX+, Incide HDX, SIC7900, SIC7999 / SIC279,
EM4017) through a desktop reader on a serial port, USB or Ethernet: once or
cyclically, in six data formats, with auto increment, two log files and data
record files. The window is German, with English texts to switch to.
.
The package also holds kx-cli, which reads and programs transponders from
scripts and production lines, kx-identify, kx-emulator (a reader emulator
for trying everything without a reader), and udev rules that give the
logged-in user access to the readers.")

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME libkxlf1)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
# ldconfig runs through dpkg's trigger.
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/libkxlf1/triggers)
# HID readers need hidapi's hidraw library, which the SDK loads at run time (out of sight of
# dpkg-shlibdeps); without it everything but HID works, so it is recommended, not required.
set(CPACK_DEBIAN_LIBRARY_PACKAGE_RECOMMENDS libhidapi-hidraw0)
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION
  "reader library for KX family 134.2 kHz RFID readers
libkxlf opens KX readers on serial ports, USB (virtual COM, FTDI, HID) and
Ethernet, frames every command, checks every answer and reads and writes
transponders through C entry points (KxLf...).")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libkxlf-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS library)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
  "reader library for KX family RFID readers - development files
The header kxlf.h, the link libkxlf.so, the pkg-config file kxlf.pc and
the CMake package: find_package(kxlf) gives the imported target
kxlf::kxlf.")

include(CPack)
