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
endfunction()
