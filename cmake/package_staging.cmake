# Run by CPack on its staging folder before it packs it: the RPM leaves out lintian's
# overrides, which only the .deb has use for.
if(CPACK_GENERATOR STREQUAL "RPM")
  file(REMOVE_RECURSE "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/share/lintian")
endif()
