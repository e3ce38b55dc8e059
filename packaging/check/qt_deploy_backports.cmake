# qt6_deploy_runtime_dependencies as Qt 6.7 takes it, over Qt 6.4's: NO_TRANSLATIONS and
# NO_COMPILER_RUNTIME (6.5) ask nothing of macdeployqt, and DEPLOY_TOOL_OPTIONS (6.7) are handed
# to it after the options Qt adds itself, which 6.4 does with its internal
# __qt_deploy_tool_extra_options. Loaded by the deployment support file after Qt's own
# Qt6CoreDeploySupport.cmake (qt_backports.cmake registers it).
include_guard(GLOBAL)

set(__fenwold_qt64_options GENERATE_QT_CONF VERBOSE NO_OVERWRITE NO_APP_STORE_COMPLIANCE)
set(__fenwold_qt64_values EXECUTABLE BIN_DIR LIB_DIR PLUGINS_DIR QML_DIR)
set(__fenwold_qt64_lists ADDITIONAL_EXECUTABLES ADDITIONAL_LIBRARIES ADDITIONAL_MODULES)

# CMake keeps a command's previous definition, callable with a leading underscore, when the
# command is defined again: _qt6_deploy_runtime_dependencies is Qt 6.4's.
function(qt6_deploy_runtime_dependencies)
  cmake_parse_arguments(PARSE_ARGV 0 arg
    "${__fenwold_qt64_options};NO_TRANSLATIONS;NO_COMPILER_RUNTIME"
    "${__fenwold_qt64_values}"
    "${__fenwold_qt64_lists};DEPLOY_TOOL_OPTIONS")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "Unparsed arguments: ${arg_UNPARSED_ARGUMENTS}")
  endif()
  set(forwarded "")
  foreach(option IN LISTS __fenwold_qt64_options)
    if(arg_${option})
      list(APPEND forwarded ${option})
    endif()
  endforeach()
  foreach(keyword IN LISTS __fenwold_qt64_values __fenwold_qt64_lists)
    if(DEFINED arg_${keyword})
      list(APPEND forwarded ${keyword} ${arg_${keyword}})
    endif()
  endforeach()
  set(__qt_deploy_tool_extra_options ${arg_DEPLOY_TOOL_OPTIONS})
  _qt6_deploy_runtime_dependencies(${forwarded})
endfunction()
