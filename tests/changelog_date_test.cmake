# Tests of changelog_time, run as cmake -P: time zones at both ends, leap days, the epoch,
# and the dates that must be refused, each named.
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/changelog_date.cmake)

set(failures 0)
# Checks that the trailer ending in date gives seconds, or the error (a part of it).
function(expect date seconds error_part)
  changelog_time(" -- maintainers <m@example>  ${date}" time error)
  if(NOT "${time}" STREQUAL "${seconds}" OR NOT "${error}" MATCHES "${error_part}"
      OR ("${error_part}" STREQUAL "" AND NOT "${error}" STREQUAL ""))
    message(SEND_ERROR "${date}: got '${time}' and '${error}', expected '${seconds}' and "
      "'${error_part}'")
  endif()
endfunction()

expect("Thu, 01 Jan 1970 00:00:00 +0000" 0 "")
expect("Tue, 08 Dec 2026 00:00:00 +0000" 1796688000 "")
expect("Tue, 08 Dec 2026 00:00:00 +1400" 1796637600 "")
expect("Tue, 08 Dec 2026 00:00:00 -0930" 1796722200 "")
expect("Thu, 29 Feb 2024 23:59:59 +0000" 1709251199 "")
expect("Tue, 29 Feb 2000 00:00:00 +0000" 951782400 "")  # divisible by 400: a leap year
expect("Mon, 01 Mar 2100 12:00:00 +0000" 4107585600 "")
expect("Fri, 31 Dec 2100 00:00:00 +0000" 4133894400 "")
expect("Tue, 31 Feb 2026 00:00:00 +0000" "" "31 Feb 2026 is no day of the calendar")
expect("Mon, 29 Feb 2100 00:00:00 +0000" "" "29 Feb 2100 is no day of the calendar")
expect("Fri, 31 Apr 2026 00:00:00 +0000" "" "31 Apr 2026 is no day of the calendar")
expect("Sat, 00 Jan 2026 00:00:00 +0000" "" "00 Jan 2026 is no day of the calendar")
expect("Wed, 08 Dec 2026 00:00:00 +0000" "" "08 Dec 2026 is a Tue, not a Wed")
expect("Tue, 8 Dec 2026 00:00:00 +0000" "" "no date such as")
expect("Tue, 08 Dec 2026 24:00:00 +0000" "" "no date such as")
expect("Tue, 08 Dec 2026 00:00:00 +0000 UTC" "" "no date such as")
