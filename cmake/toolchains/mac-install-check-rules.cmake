# Build rules for the mac-install-check toolchain, read after the compilers are identified: objects
# and archives are stamps, links write Mach-O files through the stand-in linker. CMake's own
# checks of the compilers (try-compile projects) compile for real.
if(PROJECT_NAME STREQUAL "CMAKE_TRY_COMPILE")
  return()
endif()
foreach(lang CXX OBJCXX)
  set(CMAKE_${lang}_COMPILE_OBJECT "<CMAKE_COMMAND> -E touch <OBJECT> <DEP_FILE>")
  set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_COMMAND> -E touch <TARGET>")
  set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_COMMAND> -E touch <TARGET>")
  set(CMAKE_${lang}_ARCHIVE_FINISH "")
  set(CMAKE_${lang}_LINK_EXECUTABLE
    "${FENWOLD_STANDINS}/mac-link <FLAGS> <CMAKE_${lang}_LINK_FLAGS> <LINK_FLAGS> <OBJECTS> -o <TARGET> <LINK_LIBRARIES>")
  set(CMAKE_${lang}_CREATE_SHARED_LIBRARY
    "${FENWOLD_STANDINS}/mac-link -dylib <LANGUAGE_COMPILE_FLAGS> <LINK_FLAGS> <OBJECTS> -install_name <TARGET_INSTALLNAME_DIR><TARGET_SONAME> -o <TARGET> <LINK_LIBRARIES>")
  set(CMAKE_${lang}_CREATE_SHARED_MODULE
    "${FENWOLD_STANDINS}/mac-link -bundle <LANGUAGE_COMPILE_FLAGS> <LINK_FLAGS> <OBJECTS> -o <TARGET> <LINK_LIBRARIES>")
endforeach()
# The build stands for a Mac's own, not for a cross build: what the project does only natively
# (deploying Qt at install) happens here too.
set(CMAKE_CROSSCOMPILING FALSE)
