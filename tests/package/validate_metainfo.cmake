# SPDX-License-Identifier: GPL-3.0-or-later
cmake_minimum_required(VERSION 3.21)

# Runs the AppStream validator on the software-centre entry, when it is
# installed, and checks that the newest release listed is the project's
# version, so a version bump without a release entry is caught.
#
#   cmake -DMETAINFO=... -DVERSION=... -P validate_metainfo.cmake

file(READ "${METAINFO}" text)
# Releases are listed newest first.
if(NOT text MATCHES "<release version=\"([^\"]+)\"")
  message(FATAL_ERROR "${METAINFO} lists no release")
elseif(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "${METAINFO}: newest release is ${CMAKE_MATCH_1}, the project is at ${VERSION}")
endif()

find_program(APPSTREAMCLI appstreamcli)
if(NOT APPSTREAMCLI)
  message(STATUS "appstreamcli not found (Debian package appstream): validation skipped")
  return()
endif()
execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net --no-color "${METAINFO}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "appstreamcli rejects ${METAINFO}:\n${output}")
endif()
message(STATUS "${output}")
