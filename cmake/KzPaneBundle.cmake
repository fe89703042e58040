# kz_pane_bundle(NAME) lays out the pane bundle of the calling folder
# (src/engine/PanePlugIns/NAME) inside the plug-in bundle of the build tree:
#   ${KZ_BUNDLE_DIR}/Contents/PlugIns/NAME.${KZ_PANE_BUNDLE_EXTENSION}/Contents/Info.plist
#   .../Contents/Resources/...   (every file below the folder's Resources/)
# The manager loads every item of that extension below Contents/PlugIns. The
# files are copied by a target kz_pane_NAME_resources, which kz_bundle
# depends on, so building the bundle lays out every pane.
set(KZ_PANE_BUNDLE_EXTENSION bundle CACHE INTERNAL "extension of the pane bundles in Contents/PlugIns")

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

  # TEMPORARY (branch pane-mgr), to be replaced by the pane library rule of
  # the shared runtime library: the folder's .cpp files (its principal
  # class, KZ_PANE_PRINCIPAL_CLASS) become Contents/Linux/NAME.so. This one
  # links the static engine, so a pane loaded this way has its own copy of
  # every process-wide service (notification centre, view classes); enough
  # to load and count its controls, not to share notifications with the host.
  file(GLOB pane_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(pane_sources)
    add_library(kz_pane_${name} MODULE ${pane_sources})
    target_link_libraries(kz_pane_${name} PRIVATE kz_engine)
    target_compile_definitions(kz_pane_${name} PRIVATE KZ_PANE_LIBRARY)
    set_target_properties(kz_pane_${name} PROPERTIES OUTPUT_NAME ${name} PREFIX "" SUFFIX ".so"
      LIBRARY_OUTPUT_DIRECTORY ${dir}/Linux CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
    kz_warnings(kz_pane_${name})
    add_dependencies(kz_bundle kz_pane_${name})
  endif()
endfunction()
