# SPDX-License-Identifier: GPL-3.0-or-later
# What a distribution expects beside the programs: their manual pages, the
# bash completion of quorin-cli, and the copyright file and changelog of the
# package. The pages and the completion are made at build time from the
# programs themselves, so they cannot drift from them.

# Whoever publishes the package; the package's Maintainer field, the
# copyright file's contact and the changelog's entries name them.
set(QUORIN_MAINTAINER "Quorin developers <quorin-devel@lists.quorin.invalid>" CACHE STRING
  "Maintainer of the package: Name <address>")

# --- Manual pages: help2man over each program's own --help and --version ---
find_program(QUORIN_HELP2MAN help2man)
if(NOT QUORIN_HELP2MAN)
  message(FATAL_ERROR "help2man not found (Debian package help2man; scripts/setup.sh installs it)")
endif()
function(quorin_man_page program)
  set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
  set(include ${CMAKE_SOURCE_DIR}/docs/man/${program}.h2m)
  # Debian keeps manual pages compressed, without a time stamp.
  add_custom_command(OUTPUT ${page}.gz
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/man-page.sh $<TARGET_FILE:${program}> ${include} ${page}
    COMMAND gzip -9nf ${page}
    DEPENDS ${program} ${include} ${CMAKE_SOURCE_DIR}/scripts/man-page.sh
    COMMENT "Manual page ${program}(1)" VERBATIM)
  add_custom_target(${program}_man_page ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
quorin_man_page(quorin-cli)
if(TARGET quorin)
  quorin_man_page(quorin)
endif()

# --- bash completion of quorin-cli, from its own tables ---
add_executable(make_bash_completion src/app/cli/completion/MakeBashCompletion.cpp)
target_link_libraries(make_bash_completion PRIVATE quorin_cli_commands)
set(QUORIN_BASH_COMPLETION ${CMAKE_BINARY_DIR}/completion/quorin-cli)
set(QUORIN_BASH_COMPLETION_TEMPLATE ${CMAKE_SOURCE_DIR}/data/quorin-cli.bash-completion.in)
add_custom_command(OUTPUT ${QUORIN_BASH_COMPLETION}
  COMMAND make_bash_completion ${QUORIN_BASH_COMPLETION_TEMPLATE} ${QUORIN_BASH_COMPLETION}
  DEPENDS make_bash_completion ${QUORIN_BASH_COMPLETION_TEMPLATE}
  COMMENT "bash completion of quorin-cli" VERBATIM)
add_custom_target(bash_completion ALL DEPENDS ${QUORIN_BASH_COMPLETION})
# bash-completion finds it by the command's name in this folder.
install(FILES ${QUORIN_BASH_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# --- The package's copyright file and changelog (Debian's places and forms) ---
# Both name the maintainer of the package.
configure_file(data/copyright.in ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)
configure_file(data/changelog.in ${CMAKE_BINARY_DIR}/doc/changelog @ONLY)
# Compressed as Debian wants it: the most, without a time stamp.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/doc/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog COMMENT "changelog.gz" VERBATIM)
add_custom_target(changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/doc/changelog.gz ${CMAKE_BINARY_DIR}/doc/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorin)
