# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when an include under SOURCE_DIR/src runs back up the layers:
# src/app -> window features (src/ui/main, src/ui/extract, src/ui/find,
# src/ui/textedit) ->
# window shell (src/ui/shell) -> the core, which uses the standard library
# only. The window features do not include each other; quorin-cli
# (src/app/cli) stands on the core alone.
#   cmake -DSOURCE_DIR=<folder holding src> -P CheckIncludeLayers.cmake

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR not given")
endif()

# Each folder and the includes it may not make. The core reads upwards from
# base: base <- file <- map <- builder; map <- script, edit, database;
# script <- extract; script, edit <- browse, textedit; script <- search;
# script <- compare (which stands on base, map and script alone); base, file,
# map, script, edit, browse, search, textedit <- session, the one open map
# both front ends hold. Above the core: the window
# shell, then the window features, then start-up.
set(core_above_base "app|ui|file|map|builder|script|edit|extract|database|browse|search|compare|textedit|session")
set(rules
  "base" "<Q|\"(${core_above_base})/"
  "file" "<Q|\"(app|ui|map|builder|script|edit|extract|database|browse|search|compare|textedit|session)/"
  "map" "<Q|\"(app|ui|builder|script|edit|extract|database|browse|search|compare|textedit|session)/"
  "builder" "<Q|\"(app|ui|script|edit|extract|database|browse|search|compare|textedit|session)/"
  "script" "<Q|\"(app|ui|builder|edit|extract|database|browse|search|compare|textedit|session)/"
  "edit" "<Q|\"(app|ui|builder|script|extract|database|browse|search|compare|textedit|session)/"
  "database" "<Q|\"(app|ui|builder|script|edit|extract|browse|search|compare|textedit|session)/"
  "extract" "<Q|\"(app|ui|builder|edit|database|browse|search|compare|textedit|session)/"
  "browse" "<Q|\"(app|ui|builder|extract|database|search|compare|textedit|session)/"
  "search" "<Q|\"(app|ui|builder|edit|extract|database|browse|compare|textedit|session)/"
  "compare" "<Q|\"(app|ui|file|builder|edit|extract|database|browse|search|textedit|session)/"
  "textedit" "<Q|\"(app|ui|builder|extract|database|browse|search|compare|session)/"
  "session" "<Q|\"(app|ui|builder|extract|database|compare)/"
  "app/cli" "<Q|\"ui/"
  "ui/shell" "\"(app|ui/main|ui/extract|ui/find|ui/textedit)/"
  "ui/main" "\"(app|ui/extract|ui/find|ui/textedit)/"
  "ui/extract" "\"(app|ui/main|ui/find|ui/textedit)/"
  "ui/find" "\"(app|ui/main|ui/extract|ui/textedit)/"
  "ui/textedit" "\"(app|ui/main|ui/extract|ui/find)/"
  # The test and benchmark fixtures are never part of the product.
  "." "\"fixtures/")

set(violations "")
set(checked 0)
list(LENGTH rules rule_words)
math(EXPR last_rule "${rule_words} - 2")
foreach(at RANGE 0 ${last_rule} 2)
  list(GET rules ${at} folder)
  math(EXPR pattern_at "${at} + 1")
  list(GET rules ${pattern_at} forbidden)
  file(GLOB_RECURSE files "${SOURCE_DIR}/src/${folder}/*.h" "${SOURCE_DIR}/src/${folder}/*.cpp")
  foreach(path ${files})
    math(EXPR checked "${checked} + 1")
    file(STRINGS "${path}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
      if(line MATCHES "include[ \t]*(${forbidden})")
        file(RELATIVE_PATH shown "${SOURCE_DIR}" "${path}")
        string(STRIP "${line}" line)
        list(APPEND violations "${shown}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "no source found under ${SOURCE_DIR}/src")
endif()
if(violations)
  list(JOIN violations "\n  " shown)
  message(FATAL_ERROR "includes running up the layers:\n  ${shown}")
endif()
message(STATUS "${checked} files, every include runs down the layers")
