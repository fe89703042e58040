# kz_module(NAME DEPS...) builds every .cpp below the calling folder into a
# static library named NAME, with the project's warnings as errors. Adding a
# source file needs no edit here: CMake re-globs on the next build.
function(kz_module name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  # A subfolder with a CMakeLists.txt of its own builds its own targets (the
  # pane bundles below the engine, say) and stays out of this library.
  file(GLOB_RECURSE own_lists CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  foreach(list_file ${own_lists})
    get_filename_component(own_dir ${list_file} DIRECTORY)
    list(FILTER sources EXCLUDE REGEX "^${own_dir}/")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} ${scope} ${ARGN})
  if(sources)
    kz_warnings(${name})
    set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  endif()
endfunction()

function(kz_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# kz_test(NAME SOURCES... LIBS ...) adds one GoogleTest binary to CTest. Every
# binary points the user's XDG folders into a temporary folder of its own.
function(kz_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/UserFolders.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE KZ_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
                                              KZ_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                              KZ_BINARY_DIR="${CMAKE_BINARY_DIR}")
  kz_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "LANG=C.UTF-8")
endfunction()
