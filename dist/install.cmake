# Installation layout (program, default pack, desktop entry, icons, metadata, manual) and the Debian package.
include(GNUInstallDirs)

set(KORVID_APP_ID org.korvid.Korvid)
set(KORVID_HOMEPAGE "https://korvid.example.org" CACHE STRING
    "Project web site named in the AppStream metadata (its screenshots/title.png is the listed screenshot)")
set(KORVID_RELEASE_DATE "2026-12-09" CACHE STRING "Date of this release in the AppStream metadata")
set(KORVID_INSTALL_PACK_DIR ${CMAKE_INSTALL_DATADIR}/korvid/File)

# The program looks for the pack relative to itself, so a moved prefix still works.
file(RELATIVE_PATH korvid_pack_from_bin /${CMAKE_INSTALL_BINDIR} /${KORVID_INSTALL_PACK_DIR})
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/platform/game_folder.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS KORVID_PACK_FROM_BIN="${korvid_pack_from_bin}")

set(KORVID_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
configure_file(${CMAKE_CURRENT_LIST_DIR}/korvid.desktop.in ${KORVID_DIST_DIR}/${KORVID_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/korvid.metainfo.xml.in
               ${KORVID_DIST_DIR}/${KORVID_APP_ID}.metainfo.xml @ONLY)
# The manual names the pack where the package puts it.
set(KORVID_MAN_PACK_DIR /usr/${KORVID_INSTALL_PACK_DIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/korvid.6.in ${KORVID_DIST_DIR}/korvid.6 @ONLY)

# Debian keeps manual pages compressed; -n keeps the archive free of a time stamp.
add_custom_command(
    OUTPUT ${KORVID_DIST_DIR}/korvid.6.gz
    COMMAND gzip -9 -n -c ${KORVID_DIST_DIR}/korvid.6 > ${KORVID_DIST_DIR}/korvid.6.gz
    DEPENDS ${KORVID_DIST_DIR}/korvid.6
    VERBATIM)
add_custom_target(korvid_manual ALL DEPENDS ${KORVID_DIST_DIR}/korvid.6.gz)

if(TARGET korvid_assetgen)
  add_custom_command(
      OUTPUT ${KORVID_DIST_DIR}/icons.stamp
      COMMAND ${CMAKE_COMMAND} -E rm -rf ${KORVID_DIST_DIR}/hicolor
      COMMAND korvid_assetgen icon ${KORVID_DIST_DIR}/hicolor
      COMMAND ${CMAKE_COMMAND} -E touch ${KORVID_DIST_DIR}/icons.stamp
      DEPENDS korvid_assetgen
      COMMENT "Drawing the desktop icon"
      VERBATIM)
  add_custom_target(korvid_icons ALL DEPENDS ${KORVID_DIST_DIR}/icons.stamp)
  install(DIRECTORY ${KORVID_DIST_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

if(TARGET korvid)
  install(TARGETS korvid RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# Only the generated pack is installed, never a player's data in the game folder.
if(KORVID_PACK_DIR)
  install(DIRECTORY ${KORVID_PACK_DIR}/File/ DESTINATION ${KORVID_INSTALL_PACK_DIR})
endif()
install(FILES ${KORVID_DIST_DIR}/${KORVID_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KORVID_DIST_DIR}/${KORVID_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KORVID_DIST_DIR}/korvid.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# cpack -G DEB (from the build folder) makes korvid_<version>_<arch>.deb.
set(CPACK_PACKAGE_NAME korvid)
set(CPACK_PACKAGE_VENDOR "Korvid developers")
set(CPACK_PACKAGE_CONTACT "Korvid developers <korvid@korvid.example.org>")

# Debian's documentation folder: the copyright file and a changelog in Debian's format.
execute_process(COMMAND date -u -R -d ${KORVID_RELEASE_DATE} OUTPUT_VARIABLE KORVID_CHANGELOG_DATE
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${KORVID_DIST_DIR}/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${KORVID_DIST_DIR}/changelog @ONLY)
add_custom_command(
    OUTPUT ${KORVID_DIST_DIR}/changelog.gz
    COMMAND gzip -9 -n -c ${KORVID_DIST_DIR}/changelog > ${KORVID_DIST_DIR}/changelog.gz
    DEPENDS ${KORVID_DIST_DIR}/changelog
    VERBATIM)
add_custom_target(korvid_changelog ALL DEPENDS ${KORVID_DIST_DIR}/changelog.gz)
install(FILES ${KORVID_DIST_DIR}/copyright ${KORVID_DIST_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/korvid)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "first-person arena shooter built around positional sound")
# CPack puts the summary first and indents each line of this below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Floating enemies drift through a walled arena and wear your health down while\n"
    "you are in their range. Every shot, impact and enemy gun is placed in 3D sound.\n"
    "The game comes with its own pictures, models, sounds and music, and also reads\n"
    "a player's original File data folder.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KORVID_HOMEPAGE})
# The linked libraries come from dpkg-shlibdeps (korvid.ini's reader and the PNG writer are also
# named, so a build without shlibdeps still lists them). What is opened at run time is named here:
# the GL and EGL drivers (libepoxy and SDL load them), the fonts and the General MIDI SoundFont.
# The X core fonts the message boxes draw with are recommended, as Debian has font packages
# named: without them a box is not shown, its text goes to the terminal and its default
# answer is taken.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libinih1, libstb0, libgl1, libglx-mesa0 | libglx-vendor, libegl1, libegl-mesa0 | libegl-vendor, libgl1-mesa-dri, fonts-ipafont-gothic, timgm6mb-soundfont | fluid-soundfont-gm")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xfonts-base")
# Debian installs games' programs in /usr/games; a plain install keeps bin/.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/package_layout.cmake)
set(CPACK_GENERATOR DEB)
include(CPack)
