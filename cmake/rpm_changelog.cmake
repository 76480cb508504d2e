# The RPM's change log, made from CHANGELOG, which is written as Debian writes its change logs.
# Included by the packaging.

# Writes output, the text of the RPM's %changelog, from changelog, a Debian change log: each
# entry, newest first, as "* Tue Dec 08 2026 name <address> - version-release" with its items
# as "- " lines, their continuation lines indented by two blanks.
function(write_rpm_changelog changelog release output)
  file(READ "${changelog}" content)
  # Semicolons would split CMake's lists, and a % would start a macro of rpmbuild's.
  string(REPLACE ";" "<semicolon>" content "${content}")
  string(REPLACE "%" "%%" content "${content}")
  string(REGEX MATCHALL "[^\n]*\n" lines "${content}")
  set(text "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^sphenischezahlen \\(([^)]*)\\)")
      set(version "${CMAKE_MATCH_1}")
      set(items "")
    elseif(line MATCHES "^  \\* ([^\n]*)")
      string(APPEND items "- ${CMAKE_MATCH_1}\n")
    elseif(line MATCHES "^    ([^\n]*)")
      string(APPEND items "  ${CMAKE_MATCH_1}\n")
    elseif(line MATCHES "^ -- ([^\n]*)  ([A-Z][a-z][a-z]), ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9]+) ")
      string(APPEND text "* ${CMAKE_MATCH_2} ${CMAKE_MATCH_4} ${CMAKE_MATCH_3} ${CMAKE_MATCH_5} "
        "${CMAKE_MATCH_1} - ${version}-${release}\n${items}\n")
    endif()
  endforeach()
  string(REPLACE "<semicolon>" ";" text "${text}")
  file(WRITE "${output}" "${text}")
endfunction()
