# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop tool: a thin Qt 6 Widgets layer over the core.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
set(CMAKE_AUTOMOC ON)

# Start-up, the window features and the window shell below them.
file(GLOB QUORIN_UI_SOURCES CONFIGURE_DEPENDS
  src/app/*.cpp src/app/*.h src/ui/main/*.cpp src/ui/main/*.h
  src/ui/extract/*.cpp src/ui/extract/*.h src/ui/find/*.cpp src/ui/find/*.h src/ui/shell/*.cpp src/ui/shell/*.h)
list(FILTER QUORIN_UI_SOURCES EXCLUDE REGEX "src/app/QuorinMain\\.cpp$")
add_library(quorin_ui STATIC ${QUORIN_UI_SOURCES})
target_include_directories(quorin_ui PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_link_libraries(quorin_ui PUBLIC quorin_core Qt6::Widgets)
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
