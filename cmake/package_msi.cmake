# Run by CPack's External generator in the Windows build: makes the MSI, the Windows
# installer, from the files CPack staged, with wixl and msibuild (msitools), the same bytes
# for the same inputs. wixl takes the clock's time for the summary and a random package code,
# keeps each file's time in its cabinet and leaves the database's codepage at 0; so the files
# are timed at SOURCE_DATE_EPOCH, both tools run under a clock stopped at that moment
# (faketime), the package code is derived from the inputs and the codepage set to 1252.

set(wxs "${CPACK_SPHENISCHEZAHLEN_SOURCE_DIR}/packaging/sphenischezahlen.wxs")
set(work "${CPACK_TOPLEVEL_DIRECTORY}/msi")
set(msi "${work}/${CPACK_PACKAGE_FILE_NAME}.msi")
foreach(tool wixl msibuild faketime)
  find_program(${tool}_program ${tool})
  if(NOT ${tool}_program)
    message(FATAL_ERROR "The MSI needs ${tool} (Debian's packages wixl, msitools, faketime).")
  endif()
endforeach()

# The program, its guide and its icon, timed at SOURCE_DATE_EPOCH.
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}/files")
file(COPY "${CPACK_TEMPORARY_DIRECTORY}/sphenischezahlen.exe"
  "${CPACK_TEMPORARY_DIRECTORY}/LIESMICH.txt"
  "${CPACK_SPHENISCHEZAHLEN_SOURCE_DIR}/packaging/sphenischezahlen.ico"
  DESTINATION "${work}/files")
execute_process(COMMAND find "${work}/files" -exec touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" {} +
  COMMAND_ERROR_IS_FATAL ANY)

# The product code follows from the version, the package code from everything that goes in;
# both as name-based UUIDs below the upgrade code.
file(STRINGS "${wxs}" upgrade_line REGEX "UpgradeCode=\"[-0-9A-F]+\"")
string(REGEX REPLACE ".*UpgradeCode=\"([-0-9A-F]+)\".*" "\\1" upgrade_code "${upgrade_line}")
string(UUID product_code NAMESPACE ${upgrade_code} TYPE SHA1
  NAME "sphenischezahlen ${CPACK_PACKAGE_VERSION}" UPPER)
set(inputs "${CPACK_PACKAGE_VERSION} $ENV{SOURCE_DATE_EPOCH}")
foreach(input "${wxs}" "${work}/files/sphenischezahlen.exe" "${work}/files/LIESMICH.txt"
    "${work}/files/sphenischezahlen.ico")
  file(SHA256 "${input}" input_hash)
  string(APPEND inputs " ${input_hash}")
endforeach()
string(UUID package_code NAMESPACE ${upgrade_code} NAME "${inputs}" TYPE SHA1 UPPER)

# string(TIMESTAMP) reads SOURCE_DATE_EPOCH; faketime -f stops its clock at a time so
# written (without -f the clock starts there and runs on, and a step that crosses a second
# would stamp the MSI a second late).
string(TIMESTAMP moment "%Y-%m-%d %H:%M:%S" UTC)
set(stopped_clock env TZ=UTC "${faketime_program}" -f "${moment}")
execute_process(
  COMMAND ${stopped_clock} "${wixl_program}" --arch x64
    -D "Version=${CPACK_PACKAGE_VERSION}" -D "ProductCode=${product_code}"
    -D "Description=${CPACK_SPHENISCHEZAHLEN_GERMAN_DESCRIPTION}"
    -D Icon=files/sphenischezahlen.ico -D Staged=files -o "${msi}" "${wxs}"
  WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)
file(WRITE "${work}/_ForceCodepage.idt" "\r\n\r\n1252\t_ForceCodepage\r\n")
execute_process(
  COMMAND ${stopped_clock} "${msibuild_program}" "${msi}"
    -s "${CPACK_SPHENISCHEZAHLEN_GERMAN_DESCRIPTION}" sphenischezahlen "x64;1031"
    "{${package_code}}"
  WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${stopped_clock} "${msibuild_program}" "${msi}" -i _ForceCodepage.idt
  WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_EXTERNAL_BUILT_PACKAGES "${msi}")
