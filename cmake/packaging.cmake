# Installation and packages: the program and its README; on Windows also the German guide
# LIESMICH.txt; on Linux also its manual pages (English and German), its change log and the
# lintian overrides of the .deb. CPack makes a .deb, a .tar.gz and (on request) an RPM on
# Linux and a zip on Windows, each the same for the same commit.
include(GNUInstallDirs)

# A release never goes out without its entry in the change log, nor with a manual page that
# names another version. What is read of these files here is read again when they change.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  CHANGELOG doc/sphenischezahlen.1 doc/de/sphenischezahlen.1)
file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG newest_entry LIMIT_COUNT 1
  REGEX "^sphenischezahlen \\(")
string(REGEX REPLACE "^sphenischezahlen \\(([^)]*)\\).*" "\\1" newest_version "${newest_entry}")
if(NOT newest_version STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "The newest entry in CHANGELOG is for version '${newest_version}', "
    "but the project's version is ${PROJECT_VERSION}: add an entry for it.")
endif()

foreach(manual_page doc/sphenischezahlen.1 doc/de/sphenischezahlen.1)
  file(STRINGS ${PROJECT_SOURCE_DIR}/${manual_page} manual_title LIMIT_COUNT 1
    REGEX "^\\.TH ")
  string(FIND "${manual_title}" "\"sphenischezahlen ${PROJECT_VERSION}\"" version_at)
  if(version_at EQUAL -1)
    message(FATAL_ERROR "The manual page ${manual_page} does not name version "
      "${PROJECT_VERSION} in its title line: ${manual_title}")
  endif()
endforeach()

# Folders that the installation and the RPM make are readable for everybody, also under
# umask 077.
set(folder_permissions
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${folder_permissions})

if(WIN32)
  # Side by side at the top, where a user who unpacks the zip finds them: the German guide
  # with Windows line ends, so that every Notepad shows it right, and the README.
  configure_file(doc/LIESMICH.txt LIESMICH.txt @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS sphenischezahlen RUNTIME DESTINATION .)
  install(FILES ${PROJECT_BINARY_DIR}/LIESMICH.txt README.md DESTINATION .)
else()
  install(TARGETS sphenischezahlen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

  # Writes source compressed with gzip -9n as name.gz into the build tree: as small as gzip
  # makes it, with no file name or time in the header, as Debian wants its documentation.
  find_program(GZIP_EXECUTABLE gzip REQUIRED)
  function(add_compressed_document source name)
    set(copy ${PROJECT_BINARY_DIR}/${name})
    add_custom_command(OUTPUT ${copy}.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${source} ${copy}
      COMMAND ${GZIP_EXECUTABLE} -9nf ${copy}
      DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
    set(compressed_documents ${compressed_documents} ${copy}.gz PARENT_SCOPE)
  endfunction()
  add_compressed_document(doc/sphenischezahlen.1 sphenischezahlen.1)
  add_compressed_document(doc/de/sphenischezahlen.1 sphenischezahlen.de.1)
  add_compressed_document(CHANGELOG changelog)
  add_custom_target(compressed_documents ALL DEPENDS ${compressed_documents})
  install(FILES ${PROJECT_BINARY_DIR}/sphenischezahlen.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_BINARY_DIR}/sphenischezahlen.de.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/de/man1 RENAME sphenischezahlen.1.gz)
  install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES packaging/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME sphenischezahlen)

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
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "console program that lists the sphenic numbers between two bounds")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "An interactive console program in German that lists the sphenic numbers,"
  "the products of exactly three distinct primes such as 30 = 2*3*5, between a"
  "lower and an upper bound from 0 to 4294967295 that its user types in. It"
  "prints one line per number and mirrors every line into the report file"
  "sphenischezahlen.txt in the current directory.")
if(WIN32)
  # The zip, and the MSI made by package_msi.cmake from what CPack stages for it.
  set(CPACK_GENERATOR ZIP External)
  set(CPACK_EXTERNAL_ENABLE_STAGING ON)
  set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${PROJECT_SOURCE_DIR}/cmake/package_msi.cmake)
  set(CPACK_SPHENISCHEZAHLEN_GERMAN_DESCRIPTION "${german_description}")
else()
  set(CPACK_GENERATOR TGZ DEB)
endif()
# Stripped in the packages only: the program in the build tree keeps its symbols.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(CMAKE_CROSSCOMPILING AND NOT WIN32)
  # A cross-built package is named for its processor, so that it never takes the name of
  # the build machine's own, and the .deb is for the architecture it runs on.
  set(CPACK_SYSTEM_NAME ${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR})
  execute_process(
    COMMAND dpkg-architecture -t ${CMAKE_CXX_LIBRARY_ARCHITECTURE} -q DEB_HOST_ARCH
    OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE
    ERROR_QUIET)
  if(NOT CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
    message(WARNING "dpkg-architecture (package dpkg-dev) cannot name the Debian architecture "
      "of ${CMAKE_CXX_LIBRARY_ARCHITECTURE}: a .deb of this build would be marked for the "
      "build machine's architecture.")
  endif()
endif()
# The RPM, made by the rpm-package workflow alone, for Fedora, openSUSE, RHEL and their kin.
# Its file name, as theirs are: name-version-release.arch.rpm.
set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_SUMMARY
  "Console program that lists the sphenic numbers between two bounds")
set(CPACK_RPM_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_RPM_PACKAGE_LICENSE "No licence granted yet")
set(CPACK_RPM_PACKAGE_GROUP "Applications/Engineering")
# Its change log is CHANGELOG's, not CPack's placeholder.
include(${PROJECT_SOURCE_DIR}/cmake/rpm_changelog.cmake)
write_rpm_changelog(${PROJECT_SOURCE_DIR}/CHANGELOG 1 ${PROJECT_BINARY_DIR}/rpm-changelog)
set(CPACK_RPM_PACKAGE_RELEASE 1)
set(CPACK_RPM_CHANGELOG_FILE ${PROJECT_BINARY_DIR}/rpm-changelog)
# The folders that the file system package owns are not this package's.
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
  /usr/share/man /usr/share/man/man1 /usr/share/man/de /usr/share/man/de/man1)
set(CPACK_RPM_DEFAULT_DIR_PERMISSIONS ${folder_permissions})
# The same bits from any machine: rpmbuild's own ways to take the time from
# SOURCE_DATE_EPOCH and name no real build host; none of rpmbuild's own touches to the staged
# files after they got the package's time (package_staging.cmake): they are stripped and
# compressed already, and its clamp of their times only moves newer times down, never older
# ones up; gzip, whose output does not depend on the number of cores, for the payload. No
# build-id links: there is no debuginfo package for them to lead to.
string(JOIN "\n" CPACK_RPM_SPEC_MORE_DEFINE
  "%define packager ${SPHENISCHEZAHLEN_MAINTAINER}"
  "%define _build_id_links none"
  "%define _buildhost reproducible"
  "%define use_source_date_epoch_as_buildtime 1"
  "%define clamp_mtime_to_source_date_epoch 1"
  "%define __os_install_post %{nil}"
  "%define _binary_payload w9.gzdio")

# The same packages for the same commit on any machine, whoever makes them, when, under which
# umask, time zone and locale, on which file system and from a clone or an export: the package
# step takes its time from the change log and makes each package again from what CPack staged.
# Each script says how.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/package_environment.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/package_staging.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/package_rewrite.cmake)
set(CPACK_SPHENISCHEZAHLEN_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_SPHENISCHEZAHLEN_BINARY_DIR ${PROJECT_BINARY_DIR})
set(CPACK_SPHENISCHEZAHLEN_PYTHON ${Python3_EXECUTABLE})
include(CPack)
