# Read by CPack before it writes each package. Every time in a package is SOURCE_DATE_EPOCH:
# the caller's when it is set and not empty, or else the date of the newest CHANGELOG entry,
# as Debian's own tools take it. So a clone, an export and any machine agree, without git.
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_SPHENISCHEZAHLEN_CHANGELOG_TIME})
endif()
