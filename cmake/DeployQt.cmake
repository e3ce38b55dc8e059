# fenwold_deploy_qt(<target>): `cmake --install` copies the bundle and deploys Qt into it with
# Qt's deployment API (macdeployqt underneath): the frameworks the program and its plug-ins link,
# rewritten to load from the bundle, and only the plug-ins it uses. macdeployqt would copy every
# plug-in of every module linked (input contexts, network information, icon engines, TLS, ...);
# here they are chosen and macdeployqt deploys what the chosen ones need.
function(fenwold_deploy_qt target)
  if(Qt6_VERSION VERSION_LESS 6.5)
    message(FATAL_ERROR "Deploying Qt into the bundle needs Qt 6.5 or later (found ${Qt6_VERSION})")
  endif()
  # The Cocoa platform and the Mac style; the image formats the clipboard's previews read
  # (core/clipboard/ImagePreview: PNG and BMP are built into Qt itself), where this Qt has them.
  set(wanted QCocoaIntegrationPlugin QMacStylePlugin
    QTiffPlugin QJpegPlugin QGifPlugin QICNSPlugin QWebpPlugin QTgaPlugin QICOPlugin)
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
  # Without the update framework the program fetches its feed itself, over HTTPS.
  if(NOT SPARKLE_FRAMEWORK)
    list(APPEND plugins ${QT_ALL_PLUGINS_FOUND_BY_FIND_PACKAGE_tls})
  endif()

  set(app "\${QT_DEPLOY_PREFIX}/$<TARGET_BUNDLE_DIR_NAME:${target}>")
  set(copies "")
  set(modules "")
  foreach(plugin IN LISTS plugins)
    get_target_property(type ${plugin} QT_PLUGIN_TYPE)
    string(APPEND copies "file(INSTALL \"$<TARGET_FILE:${plugin}>\" DESTINATION \"${app}/Contents/PlugIns/${type}\")\n")
    string(APPEND modules " \"${app}/Contents/PlugIns/${type}/$<TARGET_FILE_NAME:${plugin}>\"")
  endforeach()
  qt_generate_deploy_script(TARGET ${target} OUTPUT_SCRIPT deploy_script CONTENT "
${copies}
# Qt looks for its plug-ins where this says; macdeployqt writes the same file when it deploys
# plug-ins itself.
file(WRITE \"${app}/Contents/Resources/qt.conf\" \"[Paths]\\nPlugins = PlugIns\\n\")
qt_deploy_runtime_dependencies(
  EXECUTABLE \"${app}\"
  ADDITIONAL_MODULES${modules}
  NO_TRANSLATIONS
  DEPLOY_TOOL_OPTIONS -no-plugins)
")
  install(TARGETS ${target} BUNDLE DESTINATION .)
  install(SCRIPT "${deploy_script}")
endfunction()
