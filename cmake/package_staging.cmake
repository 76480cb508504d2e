# Run by CPack on its staging folder before it packs it: only the .deb carries lintian's
# overrides, which no other package has use for; the RPM's files get the package's time
# here, as rpmbuild only moves newer times down to it, never older ones up.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  foreach(prefix usr/ "")
    file(REMOVE_RECURSE "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/${prefix}share/lintian")
  endforeach()
endif()
if(CPACK_GENERATOR STREQUAL "RPM")
  execute_process(COMMAND find "${CPACK_TEMPORARY_INSTALL_DIRECTORY}"
    -exec touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" {} + COMMAND_ERROR_IS_FATAL ANY)
endif()
