# quillane_component(<name> <sources>...): an object library whose objects go into libquillane and
# into the internal library (cmake/QuillaneLibrary.cmake). Hidden visibility: the shared object exports
# only what the C header marks.
function(quillane_component name)
  add_library(${name} OBJECT ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/include)
  target_link_libraries(${name} PUBLIC PkgConfig::SQLITE3 PkgConfig::LIBXML2)
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  set_property(GLOBAL APPEND PROPERTY QUILLANE_COMPONENTS ${name})
endfunction()

# quillane_test(<name> <sources>...): one GoogleTest program, linked with the library's internals, run
# by ctest.
function(quillane_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE quillane_internal GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE QUILLANE_SOURCE_DATA_DIR="${QUILLANE_SOURCE_DATA_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
