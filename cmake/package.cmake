# The Debian package (cpack -G DEB; tools/package.sh): what is installed where, the desktop files,
# the icon and the manual pages made at build time, and CPack's settings. The program directory goes
# to /usr/share/zelkfyl, the four programs to /usr/lib/zelkfyl; /usr/bin holds the two launchers
# that start them so that they find that directory. Destinations are relative to the prefix (/usr).
set(ZELK_INSTALLED_PROGRAM_DIR share/zelkfyl)
set(ZELK_INSTALLED_LIB_DIR lib/zelkfyl)
set(ZELK_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
set(ZELK_PACKAGING_SOURCE ${PROJECT_SOURCE_DIR}/packaging)
set(ZELK_MAINTAINER "ZELK Luftverteilung GmbH <info@zelk.example>")

# --- The release: CHANGELOG.md's newest entry must be this version; its date is the release date.
set(ZELK_CHANGELOG ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZELK_CHANGELOG})
file(READ ${ZELK_CHANGELOG} zelkChangelogText)
# One list element per line; a semicolon or bracket of the text would split or join lines, so they
# are masked first.
string(REPLACE ";" "<semicolon>" zelkChangelogText "${zelkChangelogText}")
string(REPLACE "[" "<open>" zelkChangelogText "${zelkChangelogText}")
string(REPLACE "]" "<close>" zelkChangelogText "${zelkChangelogText}")
string(REPLACE "\n" ";" zelkChangelogLines "${zelkChangelogText}")

# "2026-12-08" as the Debian changelog writes a date: "Tue, 08 Dec 2026 00:00:00 +0000".
function(zelk_debian_date iso out)
  if(NOT iso MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
    message(FATAL_ERROR "CHANGELOG.md: '${iso}' is no date YYYY-MM-DD")
  endif()
  set(year ${CMAKE_MATCH_1})
  set(monthText ${CMAKE_MATCH_2})
  set(day ${CMAKE_MATCH_3})
  string(REGEX REPLACE "^0" "" month ${monthText})
  string(REGEX REPLACE "^0" "" dayNumber ${day})
  # Sakamoto's weekday rule: 0 is Sunday.
  set(shift 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR index "${month} - 1")
  list(GET shift ${index} monthShift)
  set(y ${year})
  if(month LESS 3)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${monthShift} + ${dayNumber}) % 7")
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET weekdays ${weekday} weekdayName)
  list(GET months ${index} monthName)
  set(${out} "${weekdayName}, ${day} ${monthName} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

# The Debian changelog: each "## VERSION (DATE)" section with its "- " items.
set(zelkDebianChangelog "")
set(zelkEntryDate "")
set(ZELK_RELEASE_DATE "")
foreach(line IN LISTS zelkChangelogLines)
  string(REPLACE "<semicolon>" ";" line "${line}")
  string(REPLACE "<open>" "[" line "${line}")
  string(REPLACE "<close>" "]" line "${line}")
  if(line MATCHES "^## ([^ ]+) \\(([^)]+)\\)")
    set(version ${CMAKE_MATCH_1})
    set(date ${CMAKE_MATCH_2})
    if(NOT ZELK_RELEASE_DATE)
      if(NOT version STREQUAL PROJECT_VERSION)
        message(FATAL_ERROR "CHANGELOG.md: the newest entry is ${version}, CMakeLists.txt says "
                            "${PROJECT_VERSION}; add an entry for the version")
      endif()
      set(ZELK_RELEASE_DATE ${date})
    else()
      string(APPEND zelkDebianChangelog "\n -- ${ZELK_MAINTAINER}  ${zelkEntryDate}\n\n")
    endif()
    zelk_debian_date(${date} zelkEntryDate)
    string(APPEND zelkDebianChangelog "zelkfyl (${version}) stable; urgency=medium\n\n")
  elseif(ZELK_RELEASE_DATE AND line MATCHES "^- (.*)")
    string(APPEND zelkDebianChangelog "  * ${CMAKE_MATCH_1}\n")
  elseif(ZELK_RELEASE_DATE AND line MATCHES "^  +(.*)")
    string(APPEND zelkDebianChangelog "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
if(NOT ZELK_RELEASE_DATE)
  message(FATAL_ERROR "CHANGELOG.md: no entry \"## ${PROJECT_VERSION} (YYYY-MM-DD)\"")
endif()
string(APPEND zelkDebianChangelog "\n -- ${ZELK_MAINTAINER}  ${zelkEntryDate}\n")
# Written only when it changes, so that a configure run does not make the package anew.
file(CONFIGURE OUTPUT ${ZELK_PACKAGE_DIR}/changelog CONTENT "${zelkDebianChangelog}" @ONLY)

# --- Files written when configuring: the launchers, the desktop entry, the AppStream data, the
# companions' links.
configure_file(${ZELK_PACKAGING_SOURCE}/zelkfyl.sh.in ${ZELK_PACKAGE_DIR}/bin/zelkfyl @ONLY)
configure_file(${ZELK_PACKAGING_SOURCE}/zelkfyl-cli.sh.in ${ZELK_PACKAGE_DIR}/bin/zelkfyl-cli @ONLY)
set(ZELK_SCREENSHOT_NAME raumschnitt.png)
configure_file(${ZELK_PACKAGING_SOURCE}/zelkfyl.metainfo.xml.in
               ${ZELK_PACKAGE_DIR}/${ZELK_APP_ID}.metainfo.xml @ONLY)
configure_file(${ZELK_PACKAGING_SOURCE}/zelkfyl.desktop.in ${ZELK_PACKAGE_DIR}/${ZELK_APP_ID}.desktop @ONLY)
# zelkfyl starts the companions from its program directory; there they are links to the programs.
file(MAKE_DIRECTORY ${ZELK_PACKAGE_DIR}/links)
foreach(tool deckenspiegel zelk_sound)
  file(CREATE_LINK ../../${ZELK_INSTALLED_LIB_DIR}/${tool} ${ZELK_PACKAGE_DIR}/links/${tool} SYMBOLIC)
endforeach()

# --- Files made at build time: icon, screenshot, compressed changelog and manual pages.
set(ZELK_ICON_DIR ${ZELK_PACKAGE_DIR}/icons)
set(ZELK_ICON_SIZES 16 24 32 48 64 128 256)
set(zelkIconCommands)
set(zelkIcons ${ZELK_ICON_DIR}/scalable/apps/${ZELK_APP_ID}.svg)
foreach(size ${ZELK_ICON_SIZES})
  set(png ${ZELK_ICON_DIR}/${size}x${size}/apps/${ZELK_APP_ID}.png)
  list(APPEND zelkIcons ${png})
  list(APPEND zelkIconCommands
       COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELK_ICON_DIR}/${size}x${size}/apps
       COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:fyl-imagegen> icon ${size} ${png})
endforeach()
add_custom_command(
  OUTPUT ${zelkIcons}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELK_ICON_DIR}/scalable/apps
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:fyl-imagegen> icon
          ${ZELK_ICON_DIR}/scalable/apps/${ZELK_APP_ID}.svg
  ${zelkIconCommands}
  DEPENDS fyl-imagegen
  COMMENT "Drawing the icon"
  VERBATIM)

# The AppStream screenshot is the guide's room section, taken from the real window at build time;
# it is published under the URL the metainfo names, not installed.
set(ZELK_SCREENSHOT ${ZELK_PACKAGE_DIR}/screenshots/${ZELK_SCREENSHOT_NAME})
add_custom_command(
  OUTPUT ${ZELK_SCREENSHOT}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/guide/raumschnitt.png ${ZELK_SCREENSHOT}
  DEPENDS ${ZELK_PROGRAM_DIR}/Fyl_Anleitung.pdf
  COMMENT "Taking the AppStream screenshot from the guide's pictures"
  VERBATIM)

# Debian wants the changelog and the manual pages compressed without a name or time stamp.
find_program(ZELK_GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${ZELK_PACKAGE_DIR}/changelog.gz
  COMMAND ${ZELK_GZIP} -9 -n -k -f ${ZELK_PACKAGE_DIR}/changelog
  DEPENDS ${ZELK_PACKAGE_DIR}/changelog
  VERBATIM)
set(zelkPackageFiles ${zelkIcons} ${ZELK_SCREENSHOT} ${ZELK_PACKAGE_DIR}/changelog.gz)

# The manual pages' sources are Markdown in docs/man/, set by pandoc. Without pandoc the build
# goes on, and only installing (and so the package) stops.
find_program(ZELK_PANDOC pandoc)
set(ZELK_MAN_PAGES zelkfyl zelkfyl-cli)
set(zelkManPages)
foreach(page ${ZELK_MAN_PAGES})
  set(source ${PROJECT_SOURCE_DIR}/docs/man/${page}.1.md)
  set(man ${ZELK_PACKAGE_DIR}/man/${page}.1)
  string(TOUPPER ${page} title)
  list(APPEND zelkManPages ${man}.gz)
  if(ZELK_PANDOC)
    add_custom_command(
      OUTPUT ${man}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELK_PACKAGE_DIR}/man
      COMMAND ${ZELK_PANDOC} --standalone --from markdown --to man --metadata title=${title}
              --metadata section=1 --metadata "header=ZELK FYL"
              --metadata "footer=ZELK FYL ${PROJECT_VERSION}" --metadata date=${ZELK_RELEASE_DATE}
              ${source} --output ${man}
      COMMAND ${ZELK_GZIP} -9 -n -f ${man}
      DEPENDS ${source}
      COMMENT "Setting the manual page ${page}(1)"
      VERBATIM)
  endif()
endforeach()
if(ZELK_PANDOC)
  list(APPEND zelkPackageFiles ${zelkManPages})
endif()
add_custom_target(packagefiles ALL DEPENDS ${zelkPackageFiles})

# --- Install rules.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS zelkfyl zelkfyl-cli deckenspiegel zelk_sound RUNTIME DESTINATION ${ZELK_INSTALLED_LIB_DIR})
install(DIRECTORY ${ZELK_PROGRAM_DIR}/ DESTINATION ${ZELK_INSTALLED_PROGRAM_DIR}
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
        PATTERN deckenspiegel EXCLUDE
        PATTERN zelk_sound EXCLUDE)
install(FILES ${ZELK_PACKAGE_DIR}/links/deckenspiegel ${ZELK_PACKAGE_DIR}/links/zelk_sound
        DESTINATION ${ZELK_INSTALLED_PROGRAM_DIR})
install(PROGRAMS ${ZELK_PACKAGE_DIR}/bin/zelkfyl ${ZELK_PACKAGE_DIR}/bin/zelkfyl-cli DESTINATION bin)
install(FILES ${ZELK_PACKAGE_DIR}/${ZELK_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${ZELK_PACKAGING_SOURCE}/zelkfyl-mime.xml DESTINATION share/mime/packages RENAME zelkfyl.xml)
install(FILES ${ZELK_PACKAGE_DIR}/${ZELK_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${ZELK_ICON_DIR}/ DESTINATION share/icons/hicolor)
install(FILES ${ZELK_PACKAGING_SOURCE}/copyright ${ZELK_PACKAGE_DIR}/changelog.gz DESTINATION share/doc/zelkfyl)
# The documents a reader finds their way in: the front page, the manual, the formats, the
# developer's notes and the change log (the command reference is the manual page).
# They keep the checkout's folders, so the links between them hold.
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md DESTINATION share/doc/zelkfyl)
install(FILES ${PROJECT_SOURCE_DIR}/docs/manual.md ${PROJECT_SOURCE_DIR}/docs/formats.md
              ${PROJECT_SOURCE_DIR}/docs/developer.md
        DESTINATION share/doc/zelkfyl/docs)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/man/ DESTINATION share/doc/zelkfyl/docs/man FILES_MATCHING PATTERN "*.md")
install(FILES ${PROJECT_SOURCE_DIR}/docs/images/flow-simulation.png DESTINATION share/doc/zelkfyl/docs/images)
# The example room list the manual starts a planner from.
install(FILES ${PROJECT_SOURCE_DIR}/tools/schedule/Raumbuch-Beispiel.xlsx
              ${PROJECT_SOURCE_DIR}/tools/schedule/Raumbuch-Beispiel.ods
        DESTINATION share/doc/zelkfyl/tools/schedule)
if(ZELK_PANDOC)
  install(FILES ${zelkManPages} DESTINATION share/man/man1)
else()
  install(CODE "message(FATAL_ERROR \"The manual pages need pandoc (bash tools/setup.sh package).\")")
endif()

# --- CPack: zelkfyl_<version>_amd64.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelkfyl)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ZELK Luftverteilung GmbH")
set(CPACK_PACKAGE_CONTACT ${ZELK_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "plan the air distribution of a room")
set(CPACK_PACKAGE_DESCRIPTION "\
ZELK FYL is a desktop planning tool for the air outlets of one room. A heating
and ventilation planner enters the room and its loads, picks a ceiling, wall or
slot diffuser from the maker's catalogue, and ZELK FYL evaluates it with the
physics of air jets: number of outlets, pressure drop, sound power level,
spacings, the draught rating and the room section with the zones of excessive
air velocity. It ranks suggestions over the catalogue, prints a report and
plans room schedules from the command line (zelkfyl-cli). The dialogue is
German.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.zelk.example/")
# The libraries come from the binaries; what they load at run time does not show there: the
# report's and the windows' font (DejaVu Sans, widgets/ and print/) and Qt's platform plugins.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, qt6-qpa-plugins")
# Qt's German texts for its dialogs, and the desktop's opener for the guide, data sheets and links.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${ZELK_PACKAGE_DIR})
include(CPack)
