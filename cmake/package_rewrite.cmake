# Run by CPack on each package it has made: makes it again from the folder that CPack staged,
# so that it depends on nothing but that folder's contents and SOURCE_DATE_EPOCH. CPack 3.25
# packs members in the order the file system lists them, as their builder owns them, with the
# zip's times in local time and the .deb's Installed-Size counted in the file system's blocks.
# The .tar.gz and the zip are written by package_archive.py; the .deb by dpkg-deb, from CPack's
# control file with its Installed-Size counted as dpkg-gencontrol counts it. Then every
# package, the RPM too, is checked member by member by package_check.py. A package that cannot
# be made again or fails its check is removed, so that nobody takes it for a package.

# Removes the folder that CPack works in when that is a private one made for this package
# (package_environment.cmake). CPack still copies the package within it after this script,
# and runs nothing later, so a process left behind removes it once CPack has ended.
function(remove_private_folder)
  if(NOT CPACK_PACKAGE_DIRECTORY STREQUAL CPACK_SPHENISCHEZAHLEN_PACKAGE_DIRECTORY)
    execute_process(COMMAND sh -c [[cpack=$PPID
      (while kill -0 "$cpack" 2>/dev/null; do sleep 0.2; done; rm -rf -- "$0") \
        </dev/null >/dev/null 2>&1 &]] "${CPACK_PACKAGE_DIRECTORY}")
  endif()
endfunction()

# Removes package, which is broken, with any package of its name where it belongs and the
# private folder, and fails, saying why.
function(discard package reason)
  get_filename_component(name "${package}" NAME)
  file(REMOVE "${package}" "${CPACK_SPHENISCHEZAHLEN_PACKAGE_DIRECTORY}/${name}")
  remove_private_folder()
  message(FATAL_ERROR "${package} is removed: ${reason}.")
endfunction()

# Runs the command that follows package and step (what the command does, for the message);
# if it fails, discards package.
function(run_for package step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    discard("${package}" "${step} failed (${result})")
  endif()
endfunction()

# Returns in size the Installed-Size of the folder root: each file's size rounded up to whole
# KiB, and one KiB for each folder, root included. (find, not a glob: a path may hold [ or *.)
function(installed_size root size)
  execute_process(COMMAND find . -mindepth 1 -printf "%y %s\n" WORKING_DIRECTORY "${root}"
    OUTPUT_VARIABLE entries COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "[a-z] [0-9]+" entries "${entries}")
  set(kib 1)
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^f " "" bytes "${entry}")
    if(entry MATCHES "^f ")
      math(EXPR kib "${kib} + (${bytes} + 1023) / 1024")
    else()
      math(EXPR kib "${kib} + 1")
    endif()
  endforeach()
  set(${size} ${kib} PARENT_SCOPE)
endfunction()

# Writes package, a .deb, again with dpkg-deb from the staged folder: members sorted, owned by
# root, timed at SOURCE_DATE_EPOCH, and the ar members 0644 whatever the umask.
function(rewrite_deb package)
  set(staged "${CPACK_TEMPORARY_DIRECTORY}")
  set(root "${CPACK_TOPLEVEL_DIRECTORY}/deb-root")
  file(REMOVE_RECURSE "${root}")
  file(MAKE_DIRECTORY "${root}")
  file(COPY "${staged}/usr" DESTINATION "${root}")
  installed_size("${root}" size)
  file(READ "${staged}/control" control)
  if(NOT control MATCHES "\nInstalled-Size: [0-9]+\n")
    discard("${package}" "${staged}/control has no Installed-Size line to count again")
  endif()
  string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${size}\n" control
    "${control}")
  file(WRITE "${root}/DEBIAN/control" "${control}")
  file(COPY "${staged}/md5sums" DESTINATION "${root}/DEBIAN")
  file(CHMOD "${root}/DEBIAN/control" "${root}/DEBIAN/md5sums"
    PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  file(CHMOD_RECURSE "${root}" DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  # dpkg-deb clamps newer times to SOURCE_DATE_EPOCH; older ones must not stay either.
  run_for("${package}" "timing its files" find "${root}" -exec touch -h -d
    "@$ENV{SOURCE_DATE_EPOCH}" {} +)
  run_for("${package}" "dpkg-deb" dpkg-deb --root-owner-group -Zgzip --build "${root}"
    "${package}" OUTPUT_QUIET)
endfunction()

# Fails, naming what is wrong, unless package is right member by member (package_check.py),
# with the staged folder of a .deb checked against what the .deb carries.
function(check_package package)
  set(staged "")
  if(package MATCHES "\\.deb$")
    set(staged "${CPACK_TEMPORARY_DIRECTORY}")
  endif()
  run_for("${package}" "its check" "${CPACK_SPHENISCHEZAHLEN_PYTHON}"
    "${CPACK_SPHENISCHEZAHLEN_SOURCE_DIR}/cmake/package_check.py"
    "${package}" "$ENV{SOURCE_DATE_EPOCH}" "${CPACK_SPHENISCHEZAHLEN_CHANGELOG_TIME}" ${staged})
endfunction()

if(NOT CPACK_SPHENISCHEZAHLEN_PYTHON)
  message(FATAL_ERROR "Python 3 is needed to make and check the packages; none was found.")
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(package MATCHES "\\.json$")
    continue()  # the External generator's description of what it staged, not a package
  elseif(package MATCHES "\\.deb$")
    rewrite_deb("${package}")
  elseif(package MATCHES "\\.(tar\\.gz|zip)$")
    run_for("${package}" "writing it again" "${CPACK_SPHENISCHEZAHLEN_PYTHON}"
      "${CPACK_SPHENISCHEZAHLEN_SOURCE_DIR}/cmake/package_archive.py"
      "${CPACK_TEMPORARY_DIRECTORY}" "$ENV{SOURCE_DATE_EPOCH}" "${package}")
  elseif(NOT package MATCHES "\\.(rpm|msi)$")  # made the same by rpmbuild, package_msi.cmake
    discard("${package}" "there is no way to make it the same on any machine")
  endif()
  check_package("${package}")
endforeach()
remove_private_folder()
