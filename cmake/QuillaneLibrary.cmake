# The library from the components' objects, twice over:
# - quillane (libquillane.so) exports the C interface of include/quillane/quillane.h and nothing else:
#   the objects are compiled with hidden visibility, the header marks its functions for export, and a
#   version script keeps every other symbol local.
# - quillane_internal carries the same objects whole (a static archive linked as a whole, so that every
#   class registrar runs) for the program, the tests and the benchmarks, which use the C++ internals.
# Only where the host finds the shipped data differs between the two; platform/automation/module.cpp
# is compiled once for each.
get_property(_components GLOBAL PROPERTY QUILLANE_COMPONENTS)
set(_objects "")
foreach(c IN LISTS _components)
  list(APPEND _objects $<TARGET_OBJECTS:${c}>)
endforeach()

function(quillane_module_location name)
  add_library(${name} OBJECT ${CMAKE_SOURCE_DIR}/platform/automation/module.cpp)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/include)
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_compile_definitions(${name} PRIVATE ${ARGN})
endfunction()

# The shared object finds its data folder beside itself.
quillane_module_location(quillane_module_shared QUILLANE_DATA_FROM_MODULE="${QUILLANE_DATA_SUBDIR}")
# A program that carries the objects finds it from its own folder as installed (bin/ -> lib/quillane),
# and in the build tree, where programs and tests lie in folders of their own, at the build's data folder.
file(RELATIVE_PATH _data_from_bin "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${CMAKE_INSTALL_LIBDIR}/${QUILLANE_DATA_SUBDIR}")
quillane_module_location(quillane_module_program QUILLANE_DATA_FROM_MODULE="${_data_from_bin}"
                         QUILLANE_BUILD_DATA_DIR="${QUILLANE_BUILD_DATA_DIR}")

set(_version_script ${CMAKE_SOURCE_DIR}/cmake/quillane.map)
add_library(quillane SHARED ${_objects} $<TARGET_OBJECTS:quillane_module_shared>)
target_include_directories(quillane PUBLIC $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}/include>)
target_link_libraries(quillane PRIVATE PkgConfig::SQLITE3 PkgConfig::LIBXML2)
target_link_options(quillane PRIVATE -Wl,--version-script=${_version_script})
set_target_properties(quillane PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
                                          LINK_DEPENDS ${_version_script})

add_library(quillane_objects STATIC ${_objects} $<TARGET_OBJECTS:quillane_module_program>)
target_link_libraries(quillane_objects PUBLIC PkgConfig::SQLITE3 PkgConfig::LIBXML2 ${CMAKE_DL_LIBS})
add_library(quillane_internal INTERFACE)
target_include_directories(quillane_internal INTERFACE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/include)
target_link_libraries(quillane_internal INTERFACE "$<LINK_LIBRARY:WHOLE_ARCHIVE,quillane_objects>")

# The shipped data in the build tree where the installed library finds it: lang/ and Schema/ in the
# library's own folder beside it.
add_custom_target(quillane_data
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/lang ${QUILLANE_BUILD_DATA_DIR}/lang
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/schema ${QUILLANE_BUILD_DATA_DIR}/Schema
  COMMENT "Copying lang/ and schema/ into the library's data folder")
add_dependencies(quillane quillane_data)
add_dependencies(quillane_objects quillane_data)

install(TARGETS quillane LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES include/quillane/quillane.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quillane)
install(DIRECTORY lang/ DESTINATION ${CMAKE_INSTALL_LIBDIR}/${QUILLANE_DATA_SUBDIR}/lang)
install(DIRECTORY schema/ DESTINATION ${CMAKE_INSTALL_LIBDIR}/${QUILLANE_DATA_SUBDIR}/Schema)
# quillane.pc finds the prefix from its own folder, so an install under any --prefix builds as it is.
file(RELATIVE_PATH QUILLANE_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(cmake/quillane.pc.in quillane.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/quillane.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
