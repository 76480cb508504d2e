# A test of package_rewrite.cmake, run as cmake -P with PYTHON set: a package that fails its
# check (here: a symbolic link in its staged tree) is removed, and so is an older package of
# its name where the packages belong; the step fails, saying so.
set(work "${CMAKE_CURRENT_BINARY_DIR}/package_rewrite_test")
set(name sphenischezahlen-1.0.0-Linux.tar.gz)
set(staged "${work}/staged/sphenischezahlen-1.0.0-Linux")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${staged}/bin" "${work}/cpack" "${work}/build")
file(WRITE "${staged}/bin/sphenischezahlen" "a program")
file(CREATE_LINK sphenischezahlen "${staged}/bin/link" SYMBOLIC)
file(WRITE "${work}/cpack/${name}" "CPack's package")
file(WRITE "${work}/build/${name}" "an older package")

execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env SOURCE_DATE_EPOCH=0 "${CMAKE_COMMAND}"
    "-DCPACK_PACKAGE_FILES=${work}/cpack/${name}"
    "-DCPACK_TEMPORARY_DIRECTORY=${staged}"
    "-DCPACK_PACKAGE_DIRECTORY=${work}/build"
    "-DCPACK_SPHENISCHEZAHLEN_PACKAGE_DIRECTORY=${work}/build"
    "-DCPACK_SPHENISCHEZAHLEN_SOURCE_DIR=${CMAKE_CURRENT_LIST_DIR}/.."
    "-DCPACK_SPHENISCHEZAHLEN_PYTHON=${PYTHON}"
    -P "${CMAKE_CURRENT_LIST_DIR}/../cmake/package_rewrite.cmake"
  RESULT_VARIABLE result ERROR_VARIABLE error)
if(result EQUAL 0 OR NOT error MATCHES "is removed: its check failed")
  message(SEND_ERROR "the rewrite did not fail as it should: ${result}: ${error}")
endif()
foreach(package "${work}/cpack/${name}" "${work}/build/${name}")
  if(EXISTS "${package}")
    message(SEND_ERROR "${package} is left after the rewrite failed")
  endif()
endforeach()
file(REMOVE_RECURSE "${work}")
