# Run by CPack on each package it has made: makes it again from the folder that CPack staged,
# with Debian's tools, so that it depends on nothing but that folder's contents and
# SOURCE_DATE_EPOCH. CPack 3.25 packs members in the order the file system lists them, as
# their builder owns them, with the zip's times in local time and the .deb's Installed-Size
# counted in the file system's blocks. Then every package, the RPM and the MSI too, is checked
# member by member by package_check.py. A package that cannot be made again or fails its
# check is removed, so that nobody takes it for a package.

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

# Runs the command that follows package and step (what the command does, for the message);
# if it fails, removes package with any package of its name where it belongs and the private
# folder, and fails, saying why.
function(run_for package step)
  execute_process(COMMAND ${ARGN} RESULTS_VARIABLE results)
  if(NOT results MATCHES "^0(;0)*$")
    get_filename_component(name "${package}" NAME)
    file(REMOVE "${package}" "${CPACK_SPHENISCHEZAHLEN_PACKAGE_DIRECTORY}/${name}")
    remove_private_folder()
    message(FATAL_ERROR "${package} is removed: ${step} failed (${results}).")
  endif()
endfunction()

if(NOT CPACK_SPHENISCHEZAHLEN_PYTHON)
  message(FATAL_ERROR "Python 3 is needed to check the packages; none was found.")
endif()
set(staged "${CPACK_TEMPORARY_DIRECTORY}")
set(check "${CPACK_SPHENISCHEZAHLEN_SOURCE_DIR}/cmake/package_check.py")
set(python "${CPACK_SPHENISCHEZAHLEN_PYTHON}")
set(moment "$ENV{SOURCE_DATE_EPOCH}")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  set(given "")
  if(package MATCHES "\\.deb$")
    # dpkg-deb from a copy of the staged tree, owned by root, every member timed at the
    # moment (dpkg-deb moves only newer times down to it), its folders 0755 whatever the
    # umask, and CPack's control file with the Installed-Size that dpkg counts.
    set(root "${CPACK_TOPLEVEL_DIRECTORY}/deb-root")
    file(REMOVE_RECURSE "${root}")
    file(COPY "${staged}/usr" DESTINATION "${root}")
    execute_process(COMMAND "${python}" "${check}" --installed-size "${root}"
      OUTPUT_VARIABLE size OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    file(COPY "${staged}/control" "${staged}/md5sums" DESTINATION "${root}/DEBIAN"
      FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    file(CHMOD_RECURSE "${root}" DIRECTORY_PERMISSIONS
      OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    file(READ "${root}/DEBIAN/control" control)
    string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${size}\n" control
      "${control}")
    file(WRITE "${root}/DEBIAN/control" "${control}")
    run_for("${package}" "timing its files" find "${root}" -exec touch -h -d "@${moment}" {} +)
    run_for("${package}" "dpkg-deb" dpkg-deb --root-owner-group -Zgzip --build "${root}"
      "${package}")
    set(given "${staged}")
  elseif(package MATCHES "\\.tar\\.gz$")
    # GNU tar: members by name, of root, at the moment, 0755 for folders and programs and
    # 0644 for the rest; gzip without a name or time.
    get_filename_component(top "${staged}" NAME)
    run_for("${package}" "tar" tar --create --format=gnu --sort=name --mtime=@${moment}
      --owner=root:0 --group=root:0 --mode=u=rwX,go=rX -C "${staged}/.." "${top}"
      COMMAND gzip -9n OUTPUT_FILE "${package}")
  elseif(package MATCHES "\\.zip$")
    # zip without its extra fields, then strip-nondeterminism: members by name, at the
    # moment written as UTC, 0755 or 0644.
    get_filename_component(top "${staged}" NAME)
    file(REMOVE "${package}")
    run_for("${package}" "zip" zip -q -X -r -9 "${package}" "${top}"
      WORKING_DIRECTORY "${staged}/..")
    run_for("${package}" "strip-nondeterminism" env TZ=UTC strip-nondeterminism -t zip
      -T "${moment}" "${package}")
  elseif(package MATCHES "\\.rpm$")  # made the same by rpmbuild, the MSI by package_msi.cmake
    set(given "${CPACK_RPM_CHANGELOG_FILE}")
  elseif(package MATCHES "\\.json$")
    continue()  # the External generator's description of what it staged, not a package
  endif()
  run_for("${package}" "its check" "${python}" "${check}" "${package}" "${moment}" ${given})
endforeach()
remove_private_folder()
