# Run by CPack on each package it has made. CPack 3.25 gives the three members of a .deb
# (an ar archive) the modes of its temporary files, which follow the umask of the build;
# this sets them to 0644, as Debian's own tools write them, so that the .deb is the same
# under every umask. Only the mode field of each member's header changes.
set(mode_file "${CPACK_TOPLEVEL_DIRECTORY}/ar-member-mode")
file(WRITE "${mode_file}" "100644  ")  # octal, padded with blanks to the field's 8 bytes
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  # Each member: a 60-byte header (mode at byte 40, size at byte 48), then its data, padded
  # to an even length; the first header follows the 8-byte magic "!<arch>\n".
  set(header 8)
  foreach(member debian-binary control data)
    math(EXPR mode_at "${header} + 40")
    math(EXPR size_at "${header} + 48")
    file(READ "${package}" size OFFSET ${size_at} LIMIT 10)
    string(STRIP "${size}" size)
    execute_process(
      COMMAND dd "of=${package}" bs=1 seek=${mode_at} conv=notrunc status=none
      INPUT_FILE "${mode_file}" COMMAND_ERROR_IS_FATAL ANY)
    math(EXPR header "${header} + 60 + ${size} + ${size} % 2")
  endforeach()
endforeach()
