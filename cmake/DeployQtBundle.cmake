# The bundle's deployment as `cmake --install` runs it, from the script cmake/DeployQt.cmake
# generates once Qt's deployment support is loaded: the chosen plug-ins are copied into the
# installed bundle, qt.conf says where they are, and macdeployqt deploys the frameworks they and
# the program load. What Qt is given is relative to the install prefix, as Qt documents: it runs
# macdeployqt inside the prefix, so a relative --prefix (build/bundle) names the same bundle.

# fenwold_bundle_plugin(<type> <file>): a plug-in for Contents/PlugIns/<type>.
macro(fenwold_bundle_plugin type file)
  list(APPEND fenwold_bundle_plugins "${type}" "${file}")
endmacro()

# fenwold_deploy_bundle(<Name.app>): deploys into the bundle installed in the prefix.
function(fenwold_deploy_bundle app)
  set(contents "${QT_DEPLOY_PREFIX}/${app}/Contents")
  set(modules "")
  set(pending ${fenwold_bundle_plugins})
  while(pending)
    list(POP_FRONT pending type file)
    file(INSTALL "${file}" DESTINATION "${contents}/PlugIns/${type}")
    get_filename_component(name "${file}" NAME)
    list(APPEND modules "${app}/Contents/PlugIns/${type}/${name}")
  endwhile()
  # Qt looks for its plug-ins where this says; macdeployqt writes the same file only when it
  # deploys the plug-ins itself.
  file(WRITE "${contents}/Resources/qt.conf" "[Paths]\nPlugins = PlugIns\n")
  qt6_deploy_runtime_dependencies(
    EXECUTABLE "${app}"
    ADDITIONAL_MODULES ${modules}
    NO_TRANSLATIONS
    DEPLOY_TOOL_OPTIONS -no-plugins)
endfunction()
