# fenwold_deploy_qt(<target>): `cmake --install` copies the bundle and deploys Qt into it with
# Qt's deployment API (macdeployqt underneath): the frameworks the program and its plug-ins link,
# rewritten to load from the bundle, and only the plug-ins it uses. macdeployqt would copy every
# plug-in of every module linked (input contexts, network information, icon engines, TLS, ...);
# here they are chosen and macdeployqt deploys what the chosen ones need. The install-time half
# is cmake/DeployQtBundle.cmake.
function(fenwold_deploy_qt target)
  # The options handed to macdeployqt (DEPLOY_TOOL_OPTIONS) came with Qt 6.7.
  if(Qt6_VERSION VERSION_LESS 6.7)
    message(FATAL_ERROR "Deploying Qt into the bundle needs Qt 6.7 or later (found ${Qt6_VERSION})")
  endif()
  # The Cocoa platform and the Mac style; the image formats the clipboard's previews read
  # (core/clipboard/ImagePreview: PNG and BMP are built into Qt itself), where this Qt has them.
  set(wanted QCocoaIntegrationPlugin QMacStylePlugin
    QTiffPlugin QJpegPlugin QGifPlugin QICNSPlugin QWebpPlugin QTgaPlugin QICOPlugin)
  # Without the update framework the program fetches its feed itself, over HTTPS. Qt lists a
  # module's plug-ins by their names, without the Qt6:: of their targets.
  if(NOT SPARKLE_FRAMEWORK)
    list(APPEND wanted ${QT_ALL_PLUGINS_FOUND_BY_FIND_PACKAGE_tls})
  endif()
  set(plugins "")
  foreach(name IN LISTS wanted)
    if(TARGET Qt6::${name})
      list(APPEND plugins Qt6::${name})
    endif()
  endforeach()
  foreach(required Qt6::QCocoaIntegrationPlugin Qt6::QMacStylePlugin)
    if(NOT required IN_LIST plugins)
      message(FATAL_ERROR "This Qt has no ${required}: the bundle could not start or draw")
    endif()
  endforeach()

  # The script's text is one call per line and holds no list: nothing in it can be split.
  set(calls "")
  foreach(plugin IN LISTS plugins)
    get_target_property(type ${plugin} QT_PLUGIN_TYPE)
    string(APPEND calls "fenwold_bundle_plugin(${type} \"$<TARGET_FILE:${plugin}>\")\n")
  endforeach()
  # The versioned command: Qt's version-less one is a macro, which would expand the script's
  # text once more at configure time.
  qt6_generate_deploy_script(TARGET ${target} OUTPUT_SCRIPT deploy_script CONTENT "
include(\"${CMAKE_CURRENT_FUNCTION_LIST_DIR}/DeployQtBundle.cmake\")
${calls}fenwold_deploy_bundle(\"$<TARGET_BUNDLE_DIR_NAME:${target}>\")
")
  install(TARGETS ${target} BUNDLE DESTINATION .)
  install(SCRIPT "${deploy_script}")
endfunction()
