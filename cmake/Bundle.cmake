# The Mac bundle's facts, each declared once: its name and identifier here, the version in
# project(), the build number from the history, the update feed and the key its updates are signed
# with from build options. Info.plist and the icon are made from them on every system, so that
# they can be checked where there is no Mac (scripts/check-bundle).

set(FENWOLD_BUNDLE_NAME Fenwold)
# Also the preferences domain and the prefix of every name derived from it (core/shell/AppIdentifier.h).
set(FENWOLD_BUNDLE_ID org.fenwold.Fenwold)

set(FENWOLD_FEED_URL "" CACHE STRING "Address of the update feed (the bundle's SUFeedURL); empty leaves it out")
set(FENWOLD_SPARKLE_PUBLIC_KEY "" CACHE STRING
  "Base64 EdDSA public key the update archives are signed with (the bundle's SUPublicEDKey); empty leaves it out")
set(FENWOLD_BUILD_NUMBER "" CACHE STRING "Build number (the bundle version); empty: the number of commits")

# Update feeds compare builds as numbers, so the build number only ever grows: the number of
# commits on the branch built. A shallow clone counts too few.
if(FENWOLD_BUILD_NUMBER)
  set(FENWOLD_BUNDLE_VERSION "${FENWOLD_BUILD_NUMBER}")
else()
  execute_process(COMMAND git rev-list --count HEAD WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
    OUTPUT_VARIABLE FENWOLD_BUNDLE_VERSION OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE git_failed)
  execute_process(COMMAND git rev-parse --is-shallow-repository WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
    OUTPUT_VARIABLE git_shallow OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(git_failed OR NOT FENWOLD_BUNDLE_VERSION MATCHES "^[0-9]+$")
    message(STATUS "No history to count: build number 1 (set FENWOLD_BUILD_NUMBER for a release)")
    set(FENWOLD_BUNDLE_VERSION 1)
  elseif(git_shallow STREQUAL "true")
    message(WARNING "A shallow clone counts ${FENWOLD_BUNDLE_VERSION} commits: fetch the whole history "
      "or set FENWOLD_BUILD_NUMBER before releasing, or updates will not be offered")
  endif()
endif()
if(NOT FENWOLD_BUNDLE_VERSION MATCHES "^[1-9][0-9]*$")
  message(FATAL_ERROR "The build number must be a whole number above zero (got '${FENWOLD_BUNDLE_VERSION}')")
endif()

function(fenwold_xml_escape out text)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# fenwold_info_plist(<output>): the bundle's Info.plist. The update entries are written only when
# their options are set: an empty feed address would make the update framework tell the user the
# application is misconfigured.
function(fenwold_info_plist output)
  set(FENWOLD_PLIST_UPDATE_ENTRIES "")
  if(FENWOLD_FEED_URL)
    fenwold_xml_escape(feed "${FENWOLD_FEED_URL}")
    string(APPEND FENWOLD_PLIST_UPDATE_ENTRIES "\t<key>SUFeedURL</key>\n\t<string>${feed}</string>\n")
  endif()
  if(FENWOLD_SPARKLE_PUBLIC_KEY)
    fenwold_xml_escape(key "${FENWOLD_SPARKLE_PUBLIC_KEY}")
    string(APPEND FENWOLD_PLIST_UPDATE_ENTRIES "\t<key>SUPublicEDKey</key>\n\t<string>${key}</string>\n")
  endif()
  configure_file("${PROJECT_SOURCE_DIR}/cmake/Info.plist.in" "${output}" @ONLY)
endfunction()

# The application icon, drawn once in packaging/icon/AppIcon.svg and rendered at every size the
# Finder and the Dock ask for; the target `fenwold_icon` makes it.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(FENWOLD_RSVG_CONVERT rsvg-convert REQUIRED)
set(FENWOLD_APP_ICON "${PROJECT_BINARY_DIR}/bundle/AppIcon.icns")
add_custom_command(OUTPUT "${FENWOLD_APP_ICON}"
  COMMAND Python3::Interpreter "${PROJECT_SOURCE_DIR}/packaging/icon/make-icns"
    --rsvg-convert "${FENWOLD_RSVG_CONVERT}" "${PROJECT_SOURCE_DIR}/packaging/icon/AppIcon.svg" "${FENWOLD_APP_ICON}"
  DEPENDS "${PROJECT_SOURCE_DIR}/packaging/icon/AppIcon.svg" "${PROJECT_SOURCE_DIR}/packaging/icon/make-icns"
  COMMENT "Rendering AppIcon.icns"
  VERBATIM)
add_custom_target(fenwold_icon ALL DEPENDS "${FENWOLD_APP_ICON}")
