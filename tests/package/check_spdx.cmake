# SPDX-License-Identifier: GPL-3.0-or-later
cmake_minimum_required(VERSION 3.21)

# Fails when a source file under SOURCE_DIR lacks the project's licence line,
# "SPDX-License-Identifier: GPL-3.0-or-later", as its first line (after the
# "#!" line of a script). Source files are C++ (.cpp, .h), CMake
# (CMakeLists.txt, .cmake) and shell (.sh, or any file that starts with
# "#!"). In a git checkout they are the files git knows of, tracked or new;
# elsewhere (an unpacked release) every file below SOURCE_DIR outside build
# folders.
#   cmake -DSOURCE_DIR=... -P check_spdx.cmake

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR not given")
endif()

set(files "")
find_program(GIT git)
if(GIT)
  execute_process(COMMAND "${GIT}" -C "${SOURCE_DIR}" rev-parse --show-toplevel
    RESULT_VARIABLE result OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  file(REAL_PATH "${SOURCE_DIR}" source_real)
  if(result EQUAL 0 AND top STREQUAL source_real)
    execute_process(COMMAND "${GIT}" -C "${SOURCE_DIR}" ls-files --cached --others --exclude-standard
      RESULT_VARIABLE result OUTPUT_VARIABLE listed)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "git ls-files failed in ${SOURCE_DIR}")
    endif()
    string(REPLACE "\n" ";" files "${listed}")
  endif()
endif()
if(NOT files)
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
  list(FILTER files EXCLUDE REGEX "^(build[^/]*|\\.git)/")
endif()

set(sources 0)
set(missing "")
foreach(file IN LISTS files)
  set(path "${SOURCE_DIR}/${file}")
  if(NOT EXISTS "${path}" OR IS_DIRECTORY "${path}")
    continue()  # deleted but not yet committed, or a submodule
  endif()
  file(STRINGS "${path}" head LIMIT_COUNT 2 LIMIT_INPUT 512)
  list(GET head 0 first)
  if(NOT file MATCHES "(\\.(cpp|h|cmake|sh)|(^|/)CMakeLists\\.txt)$" AND NOT first MATCHES "^#!")
    continue()
  endif()
  math(EXPR sources "${sources} + 1")
  if(first MATCHES "^#!")
    list(LENGTH head lines)
    set(first "")
    if(lines GREATER 1)
      list(GET head 1 first)
    endif()
  endif()
  if(NOT first MATCHES "^(//|#) SPDX-License-Identifier: GPL-3\\.0-or-later$")
    list(APPEND missing "${file}")
  endif()
endforeach()

if(sources EQUAL 0)
  message(FATAL_ERROR "no source files found under ${SOURCE_DIR}")
endif()
if(missing)
  list(LENGTH missing count)
  list(JOIN missing "\n  " shown)
  message(FATAL_ERROR "${count} of ${sources} source files lack the line "
    "\"SPDX-License-Identifier: GPL-3.0-or-later\" at the top:\n  ${shown}")
endif()
message(STATUS "${sources} source files carry the licence line")
