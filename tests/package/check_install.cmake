# SPDX-License-Identifier: GPL-3.0-or-later
cmake_minimum_required(VERSION 3.21)

# Installs the build into a scratch prefix, as the Debian package does, and
# checks what lands there: exactly the expected files (no test or benchmark
# executable slips in), executables that run from the prefix and tell their
# version, manual pages that render with every section, and launcher, icon,
# file type and software-centre entry that name one another.
#
#   cmake -DBUILD_DIR=... -DPREFIX=... -DEXPECTED="bin/quorin-cli;..."
#         -DBINDIR=bin -DDATADIR=share -DMANDIR=share/man -DVERSION=0.2.0
#         -P check_install.cmake

foreach(variable BUILD_DIR PREFIX EXPECTED BINDIR DATADIR MANDIR VERSION)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()

set(failures "")
macro(fail text)
  string(APPEND failures "  ${text}\n")
endmacro()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
set(expected ${EXPECTED})
list(SORT expected)
foreach(path IN LISTS expected)
  if(NOT path IN_LIST installed)
    fail("missing: ${path}")
  endif()
endforeach()
foreach(path IN LISTS installed)
  if(NOT path IN_LIST expected)
    fail("not expected: ${path}")
  endif()
endforeach()

# Every installed executable runs from the prefix alone.
foreach(path IN LISTS installed)
  if(path MATCHES "^${BINDIR}/([^/]+)$")
    set(program "${CMAKE_MATCH_1}")
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen "${PREFIX}/${path}" --help
      RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 60)
    if(NOT result EQUAL 0)
      fail("${program} --help exited with ${result}: ${errors}")
    elseif(NOT output MATCHES "^usage: ${program} ")
      fail("${program} --help printed no usage: ${output}")
    endif()
    # No display: --version is answered before the toolkit would look for one.
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
      QT_QPA_PLATFORM=xcb "${PREFIX}/${path}" --version
      RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 60)
    if(NOT result EQUAL 0 OR NOT output MATCHES "^quorin ${VERSION}\nCopyright [^\n]+\nLicence GPL-3.0-or-later: ")
      fail("${program} --version exited with ${result} and printed: ${output}${errors}")
    endif()
    # Its manual page renders without a warning and holds every section.
    set(page "${PREFIX}/${MANDIR}/man1/${program}.1.gz")
    if(EXISTS "${page}")
      execute_process(COMMAND man --warnings -E UTF-8 -l "${page}"
        RESULT_VARIABLE result OUTPUT_VARIABLE text ERROR_VARIABLE warnings)
      if(NOT result EQUAL 0 OR warnings)
        fail("man -l ${program}.1.gz exited with ${result}: ${warnings}")
      endif()
      foreach(part "NAME\n +${program} - " "SYNOPSIS\n +${program} +\\[--map-names +FILE\\]" "OPTIONS\n"
                   "--version" "EXIT STATUS\n +0 " "ENVIRONMENT\n +QUORIN_MAP_NAMES" "FILES\n" "\\.map\\.bak"
                   "COPYRIGHT\n" "quorin ${VERSION}")
        if(NOT text MATCHES "${part}")
          fail("${program}.1.gz lacks ${part}")
        endif()
      endforeach()
    endif()
  endif()
endforeach()

# The desktop files refer to one another by name; a rename of one of them
# must carry over to the others.
file(GLOB launchers "${PREFIX}/${DATADIR}/applications/*.desktop")
foreach(launcher IN LISTS launchers)
  get_filename_component(launcher_name "${launcher}" NAME)
  file(STRINGS "${launcher}" lines)
  foreach(line IN LISTS lines)
    if(line MATCHES "^Exec=([^ ]+)")
      if(NOT EXISTS "${PREFIX}/${BINDIR}/${CMAKE_MATCH_1}")
        fail("${launcher_name} runs ${CMAKE_MATCH_1}, which is not installed")
      endif()
    elseif(line MATCHES "^Icon=(.+)$")
      if(NOT EXISTS "${PREFIX}/${DATADIR}/icons/hicolor/scalable/apps/${CMAKE_MATCH_1}.svg")
        fail("${launcher_name} shows icon ${CMAKE_MATCH_1}, which is not installed")
      endif()
    elseif(line MATCHES "^MimeType=(.+)$")
      # file(STRINGS) keeps the entry's semicolons escaped.
      string(REGEX MATCHALL "[^;\\\\]+" types "${CMAKE_MATCH_1}")
      file(GLOB mime_files "${PREFIX}/${DATADIR}/mime/packages/*.xml")
      set(mime_text "")
      foreach(mime_file IN LISTS mime_files)
        file(READ "${mime_file}" text)
        string(APPEND mime_text "${text}")
      endforeach()
      foreach(type IN LISTS types)
        string(FIND "${mime_text}" "<mime-type type=\"${type}\"" found)
        if(found EQUAL -1)
          fail("${launcher_name} opens ${type}, which no installed MIME file defines")
        endif()
      endforeach()
    endif()
  endforeach()
  if(NOT lines MATCHES "Icon=")
    fail("${launcher_name} names no icon")
  endif()
endforeach()

file(GLOB metainfos "${PREFIX}/${DATADIR}/metainfo/*.metainfo.xml")
foreach(metainfo IN LISTS metainfos)
  get_filename_component(metainfo_name "${metainfo}" NAME)
  string(REGEX REPLACE "\\.metainfo\\.xml$" "" id "${metainfo_name}")
  file(READ "${metainfo}" text)
  if(NOT text MATCHES "<id>${id}</id>")
    fail("${metainfo_name} does not hold the id ${id}")
  endif()
  if(NOT text MATCHES "<launchable type=\"desktop-id\">([^<]+)</launchable>")
    fail("${metainfo_name} names no launcher")
  elseif(NOT EXISTS "${PREFIX}/${DATADIR}/applications/${CMAKE_MATCH_1}")
    fail("${metainfo_name} launches ${CMAKE_MATCH_1}, which is not installed")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "installed into ${PREFIX}:\n${failures}")
endif()
list(LENGTH installed count)
message(STATUS "${count} files installed as expected")
