# Read by CPack before it writes each package. Every time in a package (archive members,
# file times, the .deb's own) becomes the time of the last commit, so that one commit always
# gives the same packages; a time that the caller set in SOURCE_DATE_EPOCH is kept.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(
    COMMAND git -C "${CPACK_SPHENISCHEZAHLEN_SOURCE_DIR}" log -1 --format=%ct
    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE git_result ERROR_QUIET)
  if(NOT git_result EQUAL 0 OR NOT commit_time MATCHES "^[0-9]+$")
    # No git, or a source tree outside of one: a fixed time, the day of the first release.
    set(commit_time 1796688000)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
endif()
