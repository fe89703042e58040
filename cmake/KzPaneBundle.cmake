# kz_pane_bundle(NAME) lays out the pane bundle of the calling folder
# (src/engine/PanePlugIns/NAME) inside the plug-in bundle of the build tree:
#   ${KZ_BUNDLE_DIR}/Contents/PlugIns/NAME.${KZ_PANE_BUNDLE_EXTENSION}/Contents/Info.plist
#   .../Contents/Resources/...   (every file below the folder's Resources/)
#   .../Contents/Linux/NAME.so   (when the folder holds .cpp files outside
#                                 subfolders that build their own targets)
# The manager loads every item of that extension below Contents/PlugIns. The
# files are copied by a target kz_pane_NAME_resources, the library is the
# target kz_pane_NAME; kz_bundle depends on both, so building the bundle
# lays out every pane.
#
# kz_test_pane_bundle(NAME BUNDLE DIR SOURCES ... [INFO_PLIST FILE]
#                     [PRINCIPAL_CLASS CLASS] [RESOURCES FOLDER] [SUBDIR PATH]
#                     [LIBS ...] [FOR TARGET...])
# builds a pane library for the tests into a test plug-in bundle of the build
# tree: DIR/Contents/PlugIns/[PATH/]NAME.bundle/Contents/{Info.plist,
# Resources/, Linux/NAME.so}. Without INFO_PLIST the Info.plist names NAME.so
# as CFBundleExecutable and CLASS (default NAME) as NSPrincipalClass, with the
# identifier "test.pane.NAME". The target is kz_test_pane_<DIR's name>_NAME;
# each test target given with FOR depends on it.
set(KZ_PANE_BUNDLE_EXTENSION bundle CACHE INTERNAL "extension of the pane bundles in Contents/PlugIns")

# The library of a pane whose bundle's Contents folder is DIR: a module named
# as Info.plist's CFBundleExecutable, linked to the engine's exported
# interface in kz_runtime, found through a run path from its own folder.
function(_kz_pane_library target dir info_plist)
  set(executable "")
  if(EXISTS ${info_plist})
    file(READ ${info_plist} info)
    if(info MATCHES "<key>CFBundleExecutable</key>[ \t\r\n]*<string>([^<]+)</string>")
      set(executable ${CMAKE_MATCH_1})
    endif()
  endif()
  if(executable STREQUAL "")
    message(FATAL_ERROR "${info_plist} names no CFBundleExecutable")
  endif()
  string(REGEX REPLACE "\\.so$" "" executable ${executable})
  add_library(${target} MODULE ${ARGN})
  target_link_libraries(${target} PRIVATE kz_engine)
  # The pane's principal class macro defines the exported factory in a pane library.
  target_compile_definitions(${target} PRIVATE KZ_PANE_LIBRARY)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${executable} PREFIX "" SUFFIX .so
    LIBRARY_OUTPUT_DIRECTORY ${dir}/Linux
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  # A symbol the runtime does not export fails the link, not the loading.
  kz_no_undefined(${target})
  kz_warnings(${target})
  kz_runtime_rpath(${target} ${dir}/Linux)
endfunction()

function(kz_pane_bundle name)
  set(dir ${KZ_BUNDLE_DIR}/Contents/PlugIns/${name}.${KZ_PANE_BUNDLE_EXTENSION}/Contents)
  set(outputs)
  add_custom_command(OUTPUT ${dir}/Info.plist
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/Info.plist ${dir}/Info.plist
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Info.plist)
  list(APPEND outputs ${dir}/Info.plist)
  file(GLOB_RECURSE resources CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}/Resources
       ${CMAKE_CURRENT_SOURCE_DIR}/Resources/*)
  foreach(f ${resources})
    add_custom_command(OUTPUT ${dir}/Resources/${f}
      COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/Resources/${f} ${dir}/Resources/${f}
      DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Resources/${f})
    list(APPEND outputs ${dir}/Resources/${f})
  endforeach()
  add_custom_target(kz_pane_${name}_resources DEPENDS ${outputs})
  add_dependencies(kz_bundle kz_pane_${name}_resources)

  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  # A subfolder with a CMakeLists.txt of its own builds its own targets and
  # stays out of the pane's library.
  file(GLOB_RECURSE own_lists CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  foreach(list_file ${own_lists})
    get_filename_component(own_dir ${list_file} DIRECTORY)
    list(FILTER sources EXCLUDE REGEX "^${own_dir}/")
  endforeach()
  if(sources)
    _kz_pane_library(kz_pane_${name} ${dir} ${CMAKE_CURRENT_SOURCE_DIR}/Info.plist ${sources})
    add_dependencies(kz_bundle kz_pane_${name})
  endif()
endfunction()

function(kz_test_pane_bundle name)
  cmake_parse_arguments(P "" "BUNDLE;INFO_PLIST;PRINCIPAL_CLASS;RESOURCES;SUBDIR" "SOURCES;LIBS;FOR" ${ARGN})
  if(NOT P_BUNDLE OR NOT P_SOURCES)
    message(FATAL_ERROR "kz_test_pane_bundle(${name}): BUNDLE and SOURCES are required")
  endif()
  set(plugins ${P_BUNDLE}/Contents/PlugIns)
  if(P_SUBDIR)
    set(plugins ${plugins}/${P_SUBDIR})
  endif()
  set(dir ${plugins}/${name}.${KZ_PANE_BUNDLE_EXTENSION}/Contents)
  if(P_INFO_PLIST)
    configure_file(${P_INFO_PLIST} ${dir}/Info.plist COPYONLY)
  else()
    if(NOT P_PRINCIPAL_CLASS)
      set(P_PRINCIPAL_CLASS ${name})
    endif()
    file(CONFIGURE OUTPUT ${dir}/Info.plist @ONLY CONTENT [=[<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>CFBundleIdentifier</key>
	<string>test.pane.@name@</string>
	<key>CFBundleExecutable</key>
	<string>@name@.so</string>
	<key>NSPrincipalClass</key>
	<string>@P_PRINCIPAL_CLASS@</string>
</dict>
</plist>
]=])
  endif()
  if(P_RESOURCES)
    get_filename_component(P_RESOURCES ${P_RESOURCES} ABSOLUTE)
    file(GLOB_RECURSE resources RELATIVE ${P_RESOURCES} ${P_RESOURCES}/*)
    foreach(f ${resources})
      configure_file(${P_RESOURCES}/${f} ${dir}/Resources/${f} COPYONLY)
    endforeach()
  endif()
  get_filename_component(host ${P_BUNDLE} NAME_WE)
  string(MAKE_C_IDENTIFIER "kz_test_pane_${host}_${name}" target)
  _kz_pane_library(${target} ${dir} ${dir}/Info.plist ${P_SOURCES})
  if(P_LIBS)
    target_link_libraries(${target} PRIVATE ${P_LIBS})
  endif()
  foreach(t ${P_FOR})
    add_dependencies(${t} ${target})
  endforeach()
endfunction()
