# SPDX-License-Identifier: GPL-3.0-or-later
cmake_minimum_required(VERSION 3.21)

# Builds the Debian package as `cpack -G DEB` does in the build folder, into
# a scratch folder, and checks it as a distribution would: lintian reports no
# error (E:) and no warning (W:), the package carries the project's version
# with a changelog whose newest entry is that version, and it holds the
# files a user reaches first.
#
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DVERSION=0.2.0 -P check_deb.cmake

foreach(variable BUILD_DIR WORK_DIR VERSION)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()
find_program(LINTIAN lintian)
if(NOT LINTIAN)
  message(FATAL_ERROR "lintian not found (Debian package lintian; scripts/setup.sh installs it)")
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
execute_process(COMMAND cpack -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK_DIR}"
  WORKING_DIRECTORY "${BUILD_DIR}" RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(GLOB debs "${WORK_DIR}/*.deb")
list(LENGTH debs count)
if(NOT result EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "cpack -G DEB failed (${result}), made ${count} packages:\n${output}")
endif()
get_filename_component(deb_name "${debs}" NAME)

set(failures "")
macro(fail text)
  string(APPEND failures "  ${text}\n")
endmacro()

execute_process(COMMAND "${LINTIAN}" --info "${debs}"
  RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE report)
string(REGEX MATCHALL "(^|\n)[EW]: [^\n]+" complaints "${report}")
foreach(complaint IN LISTS complaints)
  string(STRIP "${complaint}" complaint)
  fail("lintian: ${complaint}")
endforeach()
# lintian exits with 1 on an error tag; any other failure means it did not check.
if(NOT result EQUAL 0 AND NOT complaints)
  fail("lintian exited with ${result} without a finding")
endif()

execute_process(COMMAND dpkg-deb --field "${debs}" Version OUTPUT_VARIABLE package_version
  OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT package_version STREQUAL VERSION)
  fail("the package is at version ${package_version}, the project at ${VERSION}")
endif()

# The changelog as installed: its newest entry is the package's version.
set(unpacked "${WORK_DIR}/unpacked")
execute_process(COMMAND dpkg-deb --extract "${debs}" "${unpacked}" RESULT_VARIABLE result)
set(changelog "${unpacked}/usr/share/doc/quorin/changelog.gz")
if(NOT result EQUAL 0 OR NOT EXISTS "${changelog}")
  fail("no usr/share/doc/quorin/changelog.gz in ${deb_name}")
else()
  execute_process(COMMAND gzip -dc "${changelog}" OUTPUT_VARIABLE text)
  if(NOT text MATCHES "^quorin \\(${VERSION}\\) ")
    string(REGEX MATCH "^[^\n]*" first "${text}")
    fail("the changelog's newest entry is \"${first}\", the package is at ${VERSION}")
  endif()
endif()
foreach(path usr/share/doc/quorin/copyright usr/share/bash-completion/completions/quorin-cli
             usr/share/man/man1/quorin-cli.1.gz)
  if(NOT EXISTS "${unpacked}/${path}")
    fail("no ${path} in ${deb_name}")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "${deb_name}:\n${failures}\nlintian --info said:\n${report}")
endif()
message(STATUS "${deb_name}: lintian finds no error or warning\n${report}")
