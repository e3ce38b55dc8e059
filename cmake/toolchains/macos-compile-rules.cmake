# Compile-only rules for the macOS toolchain file, read after the compilers are identified.
foreach(lang CXX OBJCXX)
  # Packages' folders are searched after the SDK's own: some list the host's /usr/include, whose
  # C library headers must never stand in for macOS's.
  set(CMAKE_INCLUDE_SYSTEM_FLAG_${lang} "-idirafter ")
  # Nothing links: there are no macOS libraries here.
  set(CMAKE_${lang}_LINK_EXECUTABLE "<CMAKE_COMMAND> -E touch <TARGET>")
  set(CMAKE_${lang}_CREATE_SHARED_LIBRARY "<CMAKE_COMMAND> -E touch <TARGET>")
  set(CMAKE_${lang}_CREATE_SHARED_MODULE "<CMAKE_COMMAND> -E touch <TARGET>")
endforeach()
