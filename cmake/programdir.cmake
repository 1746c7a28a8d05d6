# Lays out the program directory in the build tree: the data files as committed, plus the
# pictures that the generators draw. The run command starts zelkfyl with it as the current
# directory.
file(GLOB_RECURSE ZELK_DATA_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/*)
set(ZELK_PROGRAM_OUTPUTS)
foreach(src ${ZELK_DATA_FILES})
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/data ${src})
  add_custom_command(
    OUTPUT ${ZELK_PROGRAM_DIR}/${rel}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${src} ${ZELK_PROGRAM_DIR}/${rel}
    DEPENDS ${src}
    COMMENT "Program directory: ${rel}"
    VERBATIM)
  list(APPEND ZELK_PROGRAM_OUTPUTS ${ZELK_PROGRAM_DIR}/${rel})
endforeach()

add_custom_command(
  OUTPUT ${ZELK_PROGRAM_DIR}/fyl.jpg
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELK_PROGRAM_DIR}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:fyl-imagegen> background ${ZELK_PROGRAM_DIR}/fyl.jpg
  DEPENDS fyl-imagegen
  COMMENT "Drawing the background picture"
  VERBATIM)
list(APPEND ZELK_PROGRAM_OUTPUTS ${ZELK_PROGRAM_DIR}/fyl.jpg)

# The maker's logo: zelk2.bmp for the print window, image4.bmp for the report's letterhead
# (printed 500 by 220 units, so drawn in that proportion).
foreach(logo "zelk2.bmp;200;88" "image4.bmp;500;220")
  list(GET logo 0 name)
  list(GET logo 1 w)
  list(GET logo 2 h)
  add_custom_command(
    OUTPUT ${ZELK_PROGRAM_DIR}/${name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELK_PROGRAM_DIR}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:fyl-imagegen> logo ${w} ${h} ${ZELK_PROGRAM_DIR}/${name}
    DEPENDS fyl-imagegen
    COMMENT "Drawing the logo ${name}"
    VERBATIM)
  list(APPEND ZELK_PROGRAM_OUTPUTS ${ZELK_PROGRAM_DIR}/${name})
endforeach()

add_custom_target(programdir ALL DEPENDS ${ZELK_PROGRAM_OUTPUTS})

# The catalogue: its source is tools/catalogue/zelk-catalogue.json. The build regenerates the
# catalogue files into the program directory from it (after the copies of data/ above, so the
# source wins), and draws one picture per type plus the fallback image5.bmp.
set(ZELK_CATALOGUE_SOURCE ${PROJECT_SOURCE_DIR}/tools/catalogue/zelk-catalogue.json)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZELK_CATALOGUE_SOURCE})
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/catalogue.stamp
  COMMAND $<TARGET_FILE:zelkfyl-cli> catalogue build ${ZELK_CATALOGUE_SOURCE} ${ZELK_PROGRAM_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/catalogue.stamp
  DEPENDS zelkfyl-cli ${ZELK_CATALOGUE_SOURCE} ${ZELK_PROGRAM_DIR}/ZELK.emd ${ZELK_PROGRAM_DIR}/ZELK.idx
  COMMENT "Building the catalogue files from the catalogue source"
  VERBATIM)
file(READ ${ZELK_CATALOGUE_SOURCE} ZELK_CATALOGUE_JSON)
string(JSON ZELK_TYPE_COUNT LENGTH ${ZELK_CATALOGUE_JSON} types)
set(ZELK_PICTURES ${ZELK_PROGRAM_DIR}/Fyl_Bilder/image5.bmp)
math(EXPR ZELK_LAST_TYPE "${ZELK_TYPE_COUNT} - 1")
foreach(i RANGE ${ZELK_LAST_TYPE})
  string(JSON code GET ${ZELK_CATALOGUE_JSON} types ${i} code)
  list(APPEND ZELK_PICTURES ${ZELK_PROGRAM_DIR}/Fyl_Bilder/${code}.bmp)
endforeach()
add_custom_command(
  OUTPUT ${ZELK_PICTURES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELK_PROGRAM_DIR}/Fyl_Bilder
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:fyl-cataloguepictures> ${ZELK_CATALOGUE_SOURCE} ${ZELK_PROGRAM_DIR}/Fyl_Bilder
  DEPENDS fyl-cataloguepictures ${ZELK_CATALOGUE_SOURCE}
  COMMENT "Drawing the catalogue's type pictures"
  VERBATIM)
add_custom_target(cataloguefiles ALL DEPENDS ${CMAKE_BINARY_DIR}/catalogue.stamp ${ZELK_PICTURES})
add_dependencies(programdir cataloguefiles)
include(${PROJECT_SOURCE_DIR}/cmake/demopictures.cmake)
include(${PROJECT_SOURCE_DIR}/cmake/guide.cmake)
include(${PROJECT_SOURCE_DIR}/cmake/documents.cmake)
