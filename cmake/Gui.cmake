# The desktop tool: a thin Qt 6 Widgets layer over the core.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
set(CMAKE_AUTOMOC ON)

file(GLOB QUORIN_UI_SOURCES CONFIGURE_DEPENDS
  src/app/*.cpp src/app/*.h src/ui/main/*.cpp src/ui/main/*.h
  src/extract/windows/*.cpp src/extract/windows/*.h)
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
