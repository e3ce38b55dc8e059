# Compiles the Apple build on a Linux machine without linking it: clang targets arm64 macOS against
# a folder of macOS SDK headers, with the host's Qt and JSON headers. There are no macOS libraries
# here, so every link step only stamps its output; what this proves is that each translation unit
# of the Apple configuration compiles, warnings included.
#
#   cmake --preset macos-compile -DFENWOLD_MACOS_SDK=/folder/with/Frameworks/and/include
#
# The SDK folder holds Frameworks/X.framework/Headers, include/ (the SDK's usr/include) and lib/.
# Clang expects an SDK's own layout, so the configure step makes a sysroot of links to it.

set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR arm64)
set(CMAKE_OSX_ARCHITECTURES arm64)

if(NOT FENWOLD_MACOS_SDK)
  set(FENWOLD_MACOS_SDK "$ENV{FENWOLD_MACOS_SDK}")
endif()
if(NOT IS_DIRECTORY "${FENWOLD_MACOS_SDK}/Frameworks" OR NOT IS_DIRECTORY "${FENWOLD_MACOS_SDK}/include")
  message(FATAL_ERROR "FENWOLD_MACOS_SDK must name a folder with Frameworks/ and include/ (got '${FENWOLD_MACOS_SDK}')")
endif()
# Try-compile projects read this file again: hand them the same folder.
set(ENV{FENWOLD_MACOS_SDK} "${FENWOLD_MACOS_SDK}")

find_program(FENWOLD_CLANG NAMES clang++-19 REQUIRED)
find_program(FENWOLD_LLVM_AR NAMES llvm-ar-19 REQUIRED)
find_program(FENWOLD_LLVM_RANLIB NAMES llvm-ranlib-19 REQUIRED)
find_program(FENWOLD_LLVM_INSTALL_NAME_TOOL NAMES llvm-install-name-tool-19 REQUIRED)
set(CMAKE_CXX_COMPILER "${FENWOLD_CLANG}")
set(CMAKE_OBJCXX_COMPILER "${FENWOLD_CLANG}")
set(CMAKE_CXX_COMPILER_TARGET arm64-apple-macos)
set(CMAKE_OBJCXX_COMPILER_TARGET arm64-apple-macos)
set(CMAKE_AR "${FENWOLD_LLVM_AR}" CACHE FILEPATH "")
set(CMAKE_RANLIB "${FENWOLD_LLVM_RANLIB}" CACHE FILEPATH "")
set(CMAKE_INSTALL_NAME_TOOL "${FENWOLD_LLVM_INSTALL_NAME_TOOL}" CACHE FILEPATH "")

string(SHA1 sdk_key "${FENWOLD_MACOS_SDK}")
string(SUBSTRING "${sdk_key}" 0 12 sdk_key)
set(sysroot "/tmp/fenwold-macos-sysroot-${sdk_key}")
file(MAKE_DIRECTORY "${sysroot}/usr" "${sysroot}/System/Library")
# A link already right is left alone: replacing it removes it for a moment, and a build of another
# checkout (or this configure's own compiler checks) may be reading through it then.
function(fenwold_sysroot_link target link)
  if(IS_SYMLINK "${link}")
    file(READ_SYMLINK "${link}" current)
    if(current STREQUAL target)
      return()
    endif()
  endif()
  file(CREATE_LINK "${target}" "${link}" SYMBOLIC)
endfunction()
fenwold_sysroot_link("${FENWOLD_MACOS_SDK}/include" "${sysroot}/usr/include")
fenwold_sysroot_link("${FENWOLD_MACOS_SDK}/lib" "${sysroot}/usr/lib")
fenwold_sysroot_link("${FENWOLD_MACOS_SDK}/Frameworks" "${sysroot}/System/Library/Frameworks")
set(CMAKE_OSX_SYSROOT "${sysroot}" CACHE PATH "" FORCE)

# The host's Qt and header-only packages are found where Debian installs them.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY NEVER)
set(CMAKE_PREFIX_PATH /usr/lib/x86_64-linux-gnu/cmake /usr/share/cmake /usr/lib/cmake)
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
# Vulkan's headers are Linux's here, and nothing the program compiles needs them.
set(CMAKE_DISABLE_FIND_PACKAGE_Vulkan TRUE)
# CMake drops /usr/include from C++ include paths as a compiler folder, which also drops the JSON
# library's headers: they are reached through a folder of their own.
set(host_headers "${sysroot}/host-include")
file(MAKE_DIRECTORY "${host_headers}")
file(CREATE_LINK /usr/include/nlohmann "${host_headers}/nlohmann" SYMBOLIC)
foreach(lang CXX OBJCXX)
  set(CMAKE_${lang}_FLAGS_INIT "-idirafter ${host_headers}")
endforeach()
# Nothing is bundled either: the framework copy into the bundle does nothing.
set(FENWOLD_DITTO true CACHE FILEPATH "")
# Read after the compilers are identified, so that what it sets is not detected over.
set(CMAKE_USER_MAKE_RULES_OVERRIDE "${CMAKE_CURRENT_LIST_DIR}/macos-compile-rules.cmake")
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
