# The Apple build configured on Linux the way a Mac configures it, so that `cmake --install` runs
# the bundle's deployment for real (scripts/check-mac-install). Nothing is compiled: each object
# is an empty stamp. The link step is packaging/check/standins/mac-link, which writes the Mach-O file a
# link would (without code), and Apple's tools are the stand-ins in that folder, found first on
# PATH. Qt is the stand-in packaging/check/standin_qt.py writes, named by FENWOLD_STANDIN_QT.
#
#   cmake -S . -B build/mac-install --toolchain cmake/toolchains/mac-install-check.cmake \
#       -DFENWOLD_STANDIN_QT=/stand-in/qt [-DCMAKE_OSX_ARCHITECTURES="arm64;x86_64"]

set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR arm64)
set(CMAKE_OSX_ARCHITECTURES arm64 CACHE STRING "")
# No SDK is needed: nothing is compiled, and the stand-in linker knows where macOS keeps its
# frameworks.
set(CMAKE_OSX_SYSROOT / CACHE PATH "")

if(NOT FENWOLD_STANDIN_QT)
  set(FENWOLD_STANDIN_QT "$ENV{FENWOLD_STANDIN_QT}")
endif()
if(NOT EXISTS "${FENWOLD_STANDIN_QT}/lib/cmake/Qt6/Qt6Config.cmake")
  message(FATAL_ERROR "FENWOLD_STANDIN_QT must name a stand-in Qt (got '${FENWOLD_STANDIN_QT}')")
endif()
# Try-compile projects read this file again: hand them the same Qt.
set(ENV{FENWOLD_STANDIN_QT} "${FENWOLD_STANDIN_QT}")
get_filename_component(FENWOLD_STANDINS "${CMAKE_CURRENT_LIST_DIR}/../../packaging/check/standins" ABSOLUTE)

# Clang identifies itself for the Mac's targets; it compiles nothing else.
find_program(FENWOLD_CLANG NAMES clang++-19 REQUIRED)
set(CMAKE_CXX_COMPILER "${FENWOLD_CLANG}")
set(CMAKE_OBJCXX_COMPILER "${FENWOLD_CLANG}")
set(CMAKE_CXX_COMPILER_TARGET arm64-apple-macos)
set(CMAKE_OBJCXX_COMPILER_TARGET arm64-apple-macos)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
find_program(FENWOLD_LLVM_AR NAMES llvm-ar-19 REQUIRED)
find_program(FENWOLD_LLVM_RANLIB NAMES llvm-ranlib-19 REQUIRED)
set(CMAKE_AR "${FENWOLD_LLVM_AR}" CACHE FILEPATH "")
set(CMAKE_RANLIB "${FENWOLD_LLVM_RANLIB}" CACHE FILEPATH "")
set(CMAKE_INSTALL_NAME_TOOL "${FENWOLD_STANDINS}/install_name_tool" CACHE FILEPATH "")
set(CMAKE_STRIP "${FENWOLD_STANDINS}/strip" CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY NEVER)
set(Qt6_DIR "${FENWOLD_STANDIN_QT}/lib/cmake/Qt6" CACHE PATH "" FORCE)
set(CMAKE_PREFIX_PATH /usr/share/cmake /usr/lib/cmake /usr/lib/x86_64-linux-gnu/cmake)
set(CMAKE_DISABLE_FIND_PACKAGE_Vulkan TRUE)

# Read after the compilers are identified, so that what it sets is not detected over.
set(CMAKE_USER_MAKE_RULES_OVERRIDE "${CMAKE_CURRENT_LIST_DIR}/mac-install-check-rules.cmake")
