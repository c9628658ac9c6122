# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in the build folder. It holds what
# `cmake --install` puts under /usr: the two executables, the launcher, the
# "Map" file type, the icon and the software-centre entry. Tests and
# benchmarks have no install rules, so they stay out (tests/package checks).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quorin developers")
set(CPACK_PACKAGE_CONTACT "${QUORIN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "browse and edit the scripts of Vexa maps")
set(CPACK_PACKAGE_DESCRIPTION "\
Quorin opens a Vexa level (a Map file), lists its scripts and globals, shows
each as decompiled source text and writes hand-edited fields straight back
into the file. It also protects maps against simple extractors, extracts
scripts and globals as text and builds a command table. The desktop tool is
quorin, and quorin-cli runs the same operations in batch.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUORIN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# Library dependencies come from dpkg-shlibdeps (dpkg-dev). Qt loads its SVG
# image plugin at run time, which dpkg-shlibdeps cannot see: without it the
# tool runs, only its windows have no icon.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(QUORIN_BUILD_GUI)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libqt6svg6)
endif()
include(CPack)
