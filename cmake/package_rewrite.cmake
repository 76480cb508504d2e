# Run by CPack on each package it has made: makes it again from the folder that CPack staged,
# so that it depends on nothing but that folder's contents and SOURCE_DATE_EPOCH. CPack 3.25
# packs members in the order the file system lists them, as their builder owns them, with the
# zip's times in local time and the .deb's Installed-Size counted in the file system's blocks.
# The .tar.gz and the zip are written by package_archive.py; the .deb by dpkg-deb, from CPack's
# control file with its Installed-Size counted as dpkg-gencontrol counts it. Then every
# package, the RPM too, is checked member by member by package_check.py.

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
    message(FATAL_ERROR "${staged}/control has no Installed-Size line to count again.")
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
  execute_process(COMMAND find "${root}" -exec touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" {} +
    COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip --build "${root}" "${package}"
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# Fails, naming what is wrong, unless package is right member by member (package_check.py),
# with the staged folder of a .deb checked against what the .deb carries.
function(check_package package)
  set(staged "")
  if(package MATCHES "\\.deb$")
    set(staged "${CPACK_TEMPORARY_DIRECTORY}")
  endif()
  execute_process(
    COMMAND "${CPACK_SPHENISCHEZAHLEN_PYTHON}"
      "${CPACK_SPHENISCHEZAHLEN_SOURCE_DIR}/cmake/package_check.py"
      "${package}" "$ENV{SOURCE_DATE_EPOCH}" ${staged}
    COMMAND_ERROR_IS_FATAL ANY)
endfunction()

if(NOT CPACK_SPHENISCHEZAHLEN_PYTHON)
  message(FATAL_ERROR "Python 3 is needed to make and check the packages; none was found.")
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(package MATCHES "\\.deb$")
    rewrite_deb("${package}")
  elseif(package MATCHES "\\.(tar\\.gz|zip)$")
    execute_process(
      COMMAND "${CPACK_SPHENISCHEZAHLEN_PYTHON}"
        "${CPACK_SPHENISCHEZAHLEN_SOURCE_DIR}/cmake/package_archive.py"
        "${CPACK_TEMPORARY_DIRECTORY}" "$ENV{SOURCE_DATE_EPOCH}" "${package}"
      COMMAND_ERROR_IS_FATAL ANY)
  elseif(NOT package MATCHES "\\.rpm$")  # rpmbuild makes that the same itself
    message(FATAL_ERROR "${package}: no way to make this package the same on any machine.")
  endif()
  check_package("${package}")
  # Where CPack worked elsewhere (package_environment.cmake), the package goes where it belongs.
  get_filename_component(folder "${package}" DIRECTORY)
  if(NOT folder STREQUAL CPACK_SPHENISCHEZAHLEN_PACKAGE_DIRECTORY)
    file(COPY "${package}" DESTINATION "${CPACK_SPHENISCHEZAHLEN_PACKAGE_DIRECTORY}")
  endif()
endforeach()
