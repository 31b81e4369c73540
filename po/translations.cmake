# Message catalogues: each po/<language>.po compiled into the build tree and installed, the
# template's target, and the completeness check.
find_program(KORVID_MSGFMT msgfmt REQUIRED)
find_program(KORVID_XGETTEXT xgettext REQUIRED)

set(KORVID_BUILD_LOCALE_DIR ${KORVID_GAME_DIR}/locale)
file(RELATIVE_PATH korvid_locale_from_bin /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LOCALEDIR})
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/platform/translation.cpp APPEND PROPERTY COMPILE_DEFINITIONS
             KORVID_LOCALE_FROM_BIN="${korvid_locale_from_bin}"
             KORVID_BUILD_LOCALE_DIR="${KORVID_BUILD_LOCALE_DIR}"
             KORVID_INSTALL_LOCALE_DIR="${CMAKE_INSTALL_FULL_LOCALEDIR}")

file(GLOB korvid_po_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*.po)
set(korvid_mo_files)
foreach(po IN LISTS korvid_po_files)
  get_filename_component(language ${po} NAME_WE)
  set(mo ${KORVID_BUILD_LOCALE_DIR}/${language}/LC_MESSAGES/korvid.mo)
  add_custom_command(
      OUTPUT ${mo}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVID_BUILD_LOCALE_DIR}/${language}/LC_MESSAGES
      COMMAND ${KORVID_MSGFMT} --check -o ${mo} ${po}
      DEPENDS ${po}
      COMMENT "Compiling the ${language} message catalogue"
      VERBATIM)
  list(APPEND korvid_mo_files ${mo})
  install(FILES ${mo} DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${language}/LC_MESSAGES)
endforeach()
add_custom_target(korvid_catalogues ALL DEPENDS ${korvid_mo_files})

# cmake --build build --target korvid_pot rewrites po/korvid.pot from the sources.
add_custom_target(korvid_pot
    COMMAND ${CMAKE_SOURCE_DIR}/po/update-pot.sh ${CMAKE_SOURCE_DIR}/po/korvid.pot
    COMMENT "Gathering the texts into po/korvid.pot"
    VERBATIM)

add_test(NAME translations_complete
         COMMAND ${CMAKE_SOURCE_DIR}/po/check.sh ${CMAKE_BINARY_DIR}/po-check)
