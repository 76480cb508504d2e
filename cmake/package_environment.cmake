# Read by CPack before it writes each package. Every time in a package is SOURCE_DATE_EPOCH:
# the caller's when it is set and not empty, or else the date of the newest CHANGELOG entry,
# as Debian's own tools take it. So a clone, an export and any machine agree, without git.
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  execute_process(COMMAND dpkg-parsechangelog -l "${CPACK_SPHENISCHEZAHLEN_SOURCE_DIR}/CHANGELOG"
    -STimestamp OUTPUT_VARIABLE changelog_time OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
  set(ENV{SOURCE_DATE_EPOCH} "${changelog_time}")
endif()

# CPack's own generators read the path of their working folder as a pattern (file(GLOB) in
# CPackDeb and CPackRPM): below a folder named p[1], or with * or ? in its name, the .deb
# would lose its Depends and md5sums and the RPM fail. There CPack works in a fresh folder of
# the system's temporary folder instead, made by mktemp for this package alone and readable by
# its maker alone, which package_rewrite.cmake removes; CPack copies the packages out of it to
# where they belong.
if(NOT DEFINED CPACK_PACKAGE_DIRECTORY)
  set(CPACK_PACKAGE_DIRECTORY "${CPACK_SPHENISCHEZAHLEN_BINARY_DIR}")
endif()
set(CPACK_SPHENISCHEZAHLEN_PACKAGE_DIRECTORY "${CPACK_PACKAGE_DIRECTORY}")
set(CPACK_OUTPUT_FILE_PREFIX "${CPACK_PACKAGE_DIRECTORY}")
if(CPACK_PACKAGE_DIRECTORY MATCHES "[][*?]")
  set(temporary_folder /tmp)
  foreach(candidate "$ENV{TEMP}" "$ENV{TMPDIR}")  # the last that fits counts
    if(NOT candidate STREQUAL "" AND IS_DIRECTORY "${candidate}"
        AND NOT candidate MATCHES "[][*?]")
      set(temporary_folder "${candidate}")
    endif()
  endforeach()
  execute_process(COMMAND mktemp -d "${temporary_folder}/sphenischezahlen-cpack.XXXXXXXXXX"
    OUTPUT_VARIABLE CPACK_PACKAGE_DIRECTORY OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
endif()
