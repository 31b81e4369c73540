# Run by CPack on the staged package: Debian keeps games' programs in /usr/games.
set(staged "${CPACK_TEMPORARY_DIRECTORY}/usr")
if(NOT EXISTS "${staged}/bin/korvid")
  message(FATAL_ERROR "no staged program at ${staged}/bin/korvid")
endif()
# The program finds its pack relative to itself: ../share/korvid/File holds from games/ too.
file(MAKE_DIRECTORY "${staged}/games")
file(RENAME "${staged}/bin/korvid" "${staged}/games/korvid")
file(GLOB left "${staged}/bin/*")
if(NOT left)
  file(REMOVE_RECURSE "${staged}/bin")
endif()
