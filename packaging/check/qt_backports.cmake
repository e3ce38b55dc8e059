# What the Apple build uses from a Qt newer than the 6.4 this machine has, rebuilt on 6.4's own
# deployment code so that the build's deployment script runs against Qt's code here. Read by the
# stand-in Qt's Qt6CoreConfig.cmake (standin_qt.py), after Qt6CoreMacros.cmake.
include_guard(GLOBAL)

# qt6_generate_deploy_script (Qt 6.5): a script for install(SCRIPT) that loads Qt's deployment
# support and then runs CONTENT, written at generation time so that CONTENT may hold generator
# expressions. As in qtbase, the version-less name is a macro that hands its arguments on through
# ${ARGV}: a macro's arguments are substituted into its body before it runs, so a ';' in CONTENT
# splits it and an escaped \${VARIABLE} in it is expanded at configure time.
function(qt6_generate_deploy_script)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "CONTENT;OUTPUT_SCRIPT;NAME;TARGET" "")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "Unexpected arguments: ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_OUTPUT_SCRIPT)
    message(FATAL_ERROR "OUTPUT_SCRIPT must be specified")
  endif()
  if("${arg_CONTENT}" STREQUAL "")
    message(FATAL_ERROR "CONTENT must be specified")
  endif()
  if(NOT "${arg_NAME}" STREQUAL "")
    set(base "${arg_NAME}")
  elseif(NOT "${arg_TARGET}" STREQUAL "")
    set(base "${arg_TARGET}")
  else()
    set(base custom)
  endif()
  string(MAKE_C_IDENTIFIER "${base}" base)
  string(SHA1 hash "${ARGV}")
  string(SUBSTRING "${hash}" 0 10 hash)
  _qt_internal_get_deploy_impl_dir(folder)
  set(script "${folder}/deploy_${base}_${hash}.cmake")
  set(${arg_OUTPUT_SCRIPT} "${script}" PARENT_SCOPE)
  file(GENERATE OUTPUT "${script}" CONTENT "include(${QT_DEPLOY_SUPPORT})\n${arg_CONTENT}")
endfunction()
if(NOT QT_NO_CREATE_VERSIONLESS_FUNCTIONS)
  macro(qt_generate_deploy_script)
    qt6_generate_deploy_script(${ARGV})
  endmacro()
endif()

# The install-time half: the options qt6_deploy_runtime_dependencies gained after 6.4.
_qt_internal_add_deploy_support("${CMAKE_CURRENT_LIST_DIR}/qt_deploy_backports.cmake")
