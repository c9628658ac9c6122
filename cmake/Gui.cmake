# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop tool: a thin Qt 6 Widgets layer over the core.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
set(CMAKE_AUTOMOC ON)

# The text editor's editing component (line numbers, parenthesis matching,
# marks under refused tokens): QScintilla for Qt 6, as Debian packages it
# (libqscintilla2-qt6-dev), which ships no CMake package of its own.
find_path(QSCINTILLA_INCLUDE_DIR Qsci/qsciscintilla.h PATH_SUFFIXES qt6 x86_64-linux-gnu/qt6)
find_library(QSCINTILLA_LIBRARY NAMES qscintilla2_qt6)
if(NOT QSCINTILLA_INCLUDE_DIR OR NOT QSCINTILLA_LIBRARY)
  message(FATAL_ERROR "QScintilla for Qt 6 not found: install libqscintilla2-qt6-dev (scripts/setup.sh does)")
endif()

# Start-up, the window features and the window shell below them.
file(GLOB QUORIN_UI_SOURCES CONFIGURE_DEPENDS
  src/app/*.cpp src/app/*.h src/ui/main/*.cpp src/ui/main/*.h
  src/ui/extract/*.cpp src/ui/extract/*.h src/ui/find/*.cpp src/ui/find/*.h src/ui/shell/*.cpp src/ui/shell/*.h
  src/ui/textedit/*.cpp src/ui/textedit/*.h)
list(FILTER QUORIN_UI_SOURCES EXCLUDE REGEX "src/app/QuorinMain\\.cpp$")
add_library(quorin_ui STATIC ${QUORIN_UI_SOURCES})
target_include_directories(quorin_ui PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_include_directories(quorin_ui SYSTEM PUBLIC ${QSCINTILLA_INCLUDE_DIR})
target_link_libraries(quorin_ui PUBLIC quorin_core Qt6::Widgets ${QSCINTILLA_LIBRARY})
set_target_properties(quorin_ui PROPERTIES AUTOMOC ON)

if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/src/app/QuorinMain.cpp)
  add_executable(quorin src/app/QuorinMain.cpp)
  target_link_libraries(quorin PRIVATE quorin_ui)
  install(TARGETS quorin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Desktop integration: the "Map" file type and the launcher. The type's name
# and extension are read from the constants the open dialog's filter is made
# of (src/ui/shell/Dialogs.h), so the MIME glob always matches the filter.
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/src/ui/shell/Dialogs.h QUORIN_MAP_TYPE_LINES REGEX "kMap(TypeName|Extension) = ")
string(REGEX MATCH "kMapTypeName = \"([^\"]+)\"" QUORIN_MATCHED "${QUORIN_MAP_TYPE_LINES}")
set(QUORIN_MAP_TYPE_NAME "${CMAKE_MATCH_1}")
string(REGEX MATCH "kMapExtension = \"([^\"]+)\"" QUORIN_MATCHED "${QUORIN_MAP_TYPE_LINES}")
set(QUORIN_MAP_EXTENSION "${CMAKE_MATCH_1}")
if(NOT QUORIN_MAP_TYPE_NAME OR NOT QUORIN_MAP_EXTENSION)
  message(FATAL_ERROR "kMapTypeName or kMapExtension not found in src/ui/shell/Dialogs.h")
endif()
set(QUORIN_MAP_MIME_TYPE "application/x-vexa-map")
set(QUORIN_MIME_XML ${CMAKE_CURRENT_BINARY_DIR}/quorin-map.xml)
# The launcher is named after the application id, as software centres and
# Wayland compositors look it up by that name.
set(QUORIN_APP_ID io.github.quorin.Quorin)
set(QUORIN_DESKTOP_FILE ${CMAKE_CURRENT_SOURCE_DIR}/data/${QUORIN_APP_ID}.desktop)
configure_file(data/quorin-map.xml.in ${QUORIN_MIME_XML} @ONLY)
install(FILES ${QUORIN_MIME_XML} DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${QUORIN_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# --- Icon and software-centre entry (packaging) ---
# The window icon is compiled in, so the tool shows it from the build folder
# and from any install prefix alike; the launcher's copy goes to the icon
# theme. Drawing an SVG needs Qt's SVG image plugin at run time (Debian:
# libqt6svg6); without it the windows simply have no icon.
set(QUORIN_ICON_FILE ${CMAKE_CURRENT_SOURCE_DIR}/data/quorin.svg)
set(QUORIN_METAINFO_FILE ${CMAKE_CURRENT_SOURCE_DIR}/data/${QUORIN_APP_ID}.metainfo.xml)
qt_add_resources(quorin_ui quorin_icon PREFIX /icons BASE data FILES data/quorin.svg)
target_compile_definitions(quorin_ui PRIVATE QUORIN_APP_ID="${QUORIN_APP_ID}")
install(FILES ${QUORIN_ICON_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${QUORIN_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# --- end icon and software-centre entry ---
