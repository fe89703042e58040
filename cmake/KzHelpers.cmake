# Where the plug-in bundle is laid out in the build tree, so that the tool and
# the tests find it at a known place. Set here, before any library, because
# the shared libraries are written into it.
set(KZ_BUNDLE_DIR ${CMAKE_BINARY_DIR}/KZPrintServer.plugin CACHE INTERNAL "")
set(KZ_FRAMEWORKS_DIR ${KZ_BUNDLE_DIR}/Contents/Frameworks CACHE INTERNAL "")

# Build-tree run paths name the libraries' folders relative to $ORIGIN, so a
# build tree still runs when it is moved and never needs LD_LIBRARY_PATH.
set(CMAKE_BUILD_RPATH_USE_ORIGIN ON)
# DT_RUNPATH, not DT_RPATH: it applies to the object's own dependencies only.
add_link_options(LINKER:--enable-new-dtags)

# kz_no_undefined(TARGET): a shared library or module whose every symbol is
# in it or in a library it links, so a missing export fails the link, not the
# loading. Not under clang's sanitizers, whose runtime only an executable
# links.
function(kz_no_undefined target)
  if(NOT (CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND (KZ_SANITIZE OR KZ_FUZZ)))
    target_link_options(${target} PRIVATE LINKER:--no-undefined)
  endif()
endfunction()

# kz_runtime_rpath(TARGET DIR) gives a target whose file lies in DIR inside
# the bundle the run path "$ORIGIN/<DIR to Frameworks>", the same in the build
# and the install tree (the bundle is installed as it is laid out).
function(kz_runtime_rpath target dir)
  file(RELATIVE_PATH rel ${dir} ${KZ_FRAMEWORKS_DIR})
  if(rel STREQUAL "")
    set(rel ".")
  endif()
  set_target_properties(${target} PROPERTIES BUILD_WITH_INSTALL_RPATH ON INSTALL_RPATH "$ORIGIN/${rel}")
endfunction()

# The one shared runtime library: foundation, kit, printing, Common and the
# engine, so that the plug-in's library, every pane library and the host
# meet one notification centre, one application object, one registry.
# Written to Contents/Frameworks of the bundle; each kz_module adds its layer.
function(kz_runtime_library)
  if(TARGET kz_runtime)
    return()
  endif()
  add_library(kz_runtime SHARED)
  set_target_properties(kz_runtime PROPERTIES OUTPUT_NAME kzruntime
    LIBRARY_OUTPUT_DIRECTORY ${KZ_FRAMEWORKS_DIR}
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  kz_no_undefined(kz_runtime)
  kz_runtime_rpath(kz_runtime ${KZ_FRAMEWORKS_DIR})
endfunction()

# kz_module(NAME DEPS...) builds every .cpp below the calling folder into the
# object library NAME_objects (hidden visibility, the project's warnings as
# errors) and adds it to kz_runtime. NAME itself is the layer as its users
# link it: an interface target that brings the layer's headers and usage
# requirements and links kz_runtime for the code, so no binary ever holds a
# second copy of a layer. DEPS are the layers below (kz_*) and outside
# libraries. Adding a source file needs no edit here: CMake re-globs.
function(kz_module name)
  kz_runtime_library()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  # A subfolder with a CMakeLists.txt of its own builds its own targets (the
  # pane bundles below the engine, say) and stays out of this library.
  file(GLOB_RECURSE own_lists CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  foreach(list_file ${own_lists})
    get_filename_component(own_dir ${list_file} DIRECTORY)
    list(FILTER sources EXCLUDE REGEX "^${own_dir}/")
  endforeach()
  set(deps)
  foreach(dep ${ARGN})
    if(dep MATCHES "^kz_")
      list(APPEND deps ${dep}_objects)
    else()
      list(APPEND deps ${dep})
    endif()
  endforeach()
  if(sources)
    add_library(${name}_objects OBJECT ${sources})
    set(scope PUBLIC)
  else()
    add_library(${name}_objects INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name}_objects ${scope} ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name}_objects ${scope} ${deps})
  if(sources)
    kz_warnings(${name}_objects)
    set_target_properties(${name}_objects PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  endif()
  target_link_libraries(kz_runtime PUBLIC ${name}_objects)
  add_library(${name} INTERFACE)
  target_link_libraries(${name} INTERFACE kz_runtime)
endfunction()

# The project's own builds (its presets and CI) turn warnings into errors
# through KZ_WERROR; whoever builds the sources with other flags or another
# compiler release gets the warnings without a failed build.
function(kz_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  # GCC 12's optimizer, inlining libstdc++'s string concatenation and variant
  # destruction, reports overlapping copies and frees of non-heap objects that
  # cannot happen ("x" + std::string(...); a variant holding a vector, destroyed
  # after a move) at -O3 and with fortified sources. These two warnings are off
  # for that compiler release in the other build types (Release, MinSizeRel, a
  # packager's own flags); Debug and RelWithDebInfo, which the presets build,
  # keep them, as do GCC 13 and Clang everywhere.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
     AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE
      "$<$<NOT:$<CONFIG:Debug,RelWithDebInfo>>:-Wno-restrict;-Wno-free-nonheap-object>")
  endif()
  if(KZ_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
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
