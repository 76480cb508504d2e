# The date of a change log entry's trailer line (" -- name <address>  Tue, 08 Dec 2026
# 00:00:00 +0000"), as Debian writes it, in seconds since 1970 (UTC). Included by the
# packaging and by its test.

# Sets seconds to the time of trailer, a change log trailer line, in seconds since 1970
# (UTC), and error to ""; or, when trailer holds no such date, no real day or a wrong
# weekday, sets error to what is wrong.
function(changelog_time trailer seconds error)
  set(${seconds} "" PARENT_SCOPE)
  set(weekday_names Mon Tue Wed Thu Fri Sat Sun)
  set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(JOIN weekday_names "|" weekday_pattern)
  list(JOIN month_names "|" month_pattern)
  string(CONCAT date_pattern "  (${weekday_pattern}), ([0-9][0-9]) (${month_pattern}) "
    "([0-9][0-9][0-9][0-9]) ([01][0-9]|2[0-3]):([0-5][0-9]):([0-5][0-9]) "
    "([-+][01][0-9][0-5][0-9])$")
  if(NOT trailer MATCHES "${date_pattern}")
    set(${error} "no date such as 'Tue, 08 Dec 2026 00:00:00 +0000' at its end" PARENT_SCOPE)
    return()
  endif()
  set(weekday ${CMAKE_MATCH_1})
  set(date "${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4}")
  math(EXPR day "${CMAKE_MATCH_2}")  # without its leading zero
  list(FIND month_names ${CMAKE_MATCH_3} month)
  set(year ${CMAKE_MATCH_4})
  math(EXPR clock "${CMAKE_MATCH_5} * 3600 + ${CMAKE_MATCH_6} * 60 + ${CMAKE_MATCH_7}")
  string(SUBSTRING "${CMAKE_MATCH_8}" 0 1 zone_sign)
  string(SUBSTRING "${CMAKE_MATCH_8}" 1 2 zone_hours)
  string(SUBSTRING "${CMAKE_MATCH_8}" 3 2 zone_minutes)
  set(month_lengths 31 28 31 30 31 30 31 31 30 31 30 31)
  list(GET month_lengths ${month} month_length)
  math(EXPR by_4 "${year} % 4")
  math(EXPR by_100 "${year} % 100")
  math(EXPR by_400 "${year} % 400")
  if(month EQUAL 1 AND ((by_4 EQUAL 0 AND NOT by_100 EQUAL 0) OR by_400 EQUAL 0))
    set(month_length 29)  # a leap year's February
  endif()
  if(day LESS 1 OR day GREATER month_length)
    set(${error} "${date} is no day of the calendar" PARENT_SCOPE)
    return()
  endif()
  # Days since 1970-01-01 in the Gregorian calendar, counting years from March, so that the
  # leap day comes last.
  if(month LESS 2)
    math(EXPR year "${year} - 1")
    math(EXPR month "${month} + 10")
  else()
    math(EXPR month "${month} - 2")
  endif()
  math(EXPR days "365 * ${year} + ${year} / 4 - ${year} / 100 + ${year} / 400
    + (153 * ${month} + 2) / 5 + ${day} - 1 - 719468")
  # 1970-01-01 was a Thursday: the fourth of the list, counted from 0 on Monday.
  math(EXPR weekday_index "(${days} % 7 + 7 + 3) % 7")
  list(GET weekday_names ${weekday_index} true_weekday)
  if(NOT weekday STREQUAL true_weekday)
    set(${error} "${date} is a ${true_weekday}, not a ${weekday}" PARENT_SCOPE)
    return()
  endif()
  math(EXPR time "${days} * 86400 + ${clock}
    - (${zone_sign}1) * (${zone_hours} * 3600 + ${zone_minutes} * 60)")
  set(${seconds} ${time} PARENT_SCOPE)
  set(${error} "" PARENT_SCOPE)
endfunction()
