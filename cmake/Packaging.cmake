# The Debian package: cpack (or scripts/package.sh) writes
# veltrane_<version>_<arch>.deb from what `cmake --install` puts in place.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Veltrane developers")
set(CPACK_PACKAGE_CONTACT "${VELTRANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "processor benchmark and system information")
set(CPACK_PACKAGE_DESCRIPTION
  "Veltrane measures the processor with seven timed tests (integer, floating\n"
  "point, MIPS, MFLOPS and memory bandwidth), scores it in CPUMarks and compares\n"
  "it with reference machines. It shows what it detects about the processor,\n"
  "caches, clocks, operating system and PCI devices, writes HTML reports, keeps\n"
  "a history of results and has a burn-in loop. veltrane is the desktop\n"
  "program, veltrane-cli the same benchmark in a terminal.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
# A package always installs under /usr, whatever prefix the build tree has.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELTRANE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://veltrane.example/")
# Depends come from the libraries the installed programs link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
