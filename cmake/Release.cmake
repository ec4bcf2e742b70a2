# The release is debian/changelog's latest entry alone, so the package's version and the AppStream
# file's release cannot differ. Sets release_version, the upstream version without an epoch or a
# Debian revision ("2:1.0~rc1-3" gives "1.0~rc1"); project_version, its leading numbers, as CMake
# wants them ("1.0"); and release_date, from the entry's trailer
# (" -- NAME <ADDRESS>  Mon, 7 Dec 2026 04:35:59 +0000" gives 2026-12-07).
function(read_release)
  set(changelog ${CMAKE_SOURCE_DIR}/debian/changelog)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
  file(READ ${changelog} text)
  string(REGEX MATCH "^pittorello \\(([0-9]+:)?([0-9][A-Za-z0-9.+~]*)(-[A-Za-z0-9.+~]+)?\\)" heading "${text}")
  set(version ${CMAKE_MATCH_2})
  string(REGEX MATCH "^[0-9]+(\\.[0-9]+)*" numbers "${version}")
  string(REGEX MATCH "\n -- [^\n]*>  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) " trailer "${text}")
  set(day 0${CMAKE_MATCH_1})
  set(year ${CMAKE_MATCH_3})
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(FIND months "${CMAKE_MATCH_2}" month)
  if(NOT heading OR NOT trailer OR month EQUAL -1)
    message(FATAL_ERROR "${changelog}: its latest entry gives no version or date")
  endif()
  math(EXPR month "${month} + 1")
  string(REGEX MATCH "..$" month 0${month})
  string(REGEX MATCH "..$" day ${day})
  set(release_version ${version} PARENT_SCOPE)
  set(project_version ${numbers} PARENT_SCOPE)
  set(release_date ${year}-${month}-${day} PARENT_SCOPE)
endfunction()
read_release()
