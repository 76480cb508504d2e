# Installation and packages: the program and its README. On Windows both lie side by side
# at the top, where a user who unpacks the zip finds them; elsewhere in the usual places.
include(GNUInstallDirs)
if(WIN32)
  set(program_destination .)
  set(documentation_destination .)
else()
  set(program_destination ${CMAKE_INSTALL_BINDIR})
  set(documentation_destination ${CMAKE_INSTALL_DOCDIR})
endif()
install(TARGETS sphenischezahlen RUNTIME DESTINATION ${program_destination})
install(FILES README.md DESTINATION ${documentation_destination})
if(NOT WIN32)
  # A stripped program (cmake --install --strip, and every package) loses the compiler's
  # .comment and .note sections too, as Debian's own stripping does.
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
        --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:sphenischezahlen>\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endif()

set(SPHENISCHEZAHLEN_MAINTAINER
  "sphenischezahlen maintainers <maintainers@sphenischezahlen.example>"
  CACHE STRING "Name and mail address of the package maintainer")
set(CPACK_PACKAGE_VENDOR "sphenischezahlen")
set(CPACK_PACKAGE_CONTACT "${SPHENISCHEZAHLEN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "list the sphenic numbers between two bounds")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "An interactive console program in German that lists the sphenic numbers,"
  "the products of exactly three distinct primes such as 30 = 2*3*5, between a"
  "lower and an upper bound from 0 to 4294967295 that its user types in. It"
  "prints one line per number and mirrors every line into the report file"
  "sphenischezahlen.txt in the current directory.")
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR TGZ DEB)
endif()
# Stripped in the packages only: the program in the build tree keeps its symbols.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
