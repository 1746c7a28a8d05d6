# The catalogue's documents in the program directory: the tender texts (Aus_texte/) and the data
# sheets (catalog/), written from the catalogue source once the catalogue files and the type
# pictures are in place. The types that have a data sheet only get their sketches here.
string(JSON ZELK_SHEET_ONLY_COUNT ERROR_VARIABLE ZELK_NO_SHEET_ONLY LENGTH ${ZELK_CATALOGUE_JSON} data_sheet_types)
set(ZELK_SHEET_ONLY_PICTURES)
if(NOT ZELK_NO_SHEET_ONLY AND ZELK_SHEET_ONLY_COUNT GREATER 0)
  math(EXPR ZELK_LAST_SHEET_ONLY "${ZELK_SHEET_ONLY_COUNT} - 1")
  foreach(i RANGE ${ZELK_LAST_SHEET_ONLY})
    string(JSON code GET ${ZELK_CATALOGUE_JSON} data_sheet_types ${i} code)
    list(APPEND ZELK_SHEET_ONLY_PICTURES ${ZELK_PROGRAM_DIR}/Fyl_Bilder/${code}.bmp)
  endforeach()
  add_custom_command(
    OUTPUT ${ZELK_SHEET_ONLY_PICTURES}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELK_PROGRAM_DIR}/Fyl_Bilder
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:fyl-cataloguepictures>
            ${ZELK_CATALOGUE_SOURCE} ${ZELK_PROGRAM_DIR}/Fyl_Bilder data_sheet_types
    DEPENDS fyl-cataloguepictures ${ZELK_CATALOGUE_SOURCE}
    COMMENT "Drawing the pictures of the types with a data sheet only"
    VERBATIM)
endif()

add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/documents.stamp
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:zelkfyl-cli> documents
          ${ZELK_CATALOGUE_SOURCE} ${ZELK_PROGRAM_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/documents.stamp
  DEPENDS zelkfyl-cli ${ZELK_CATALOGUE_SOURCE} ${CMAKE_BINARY_DIR}/catalogue.stamp ${ZELK_PICTURES}
          ${ZELK_SHEET_ONLY_PICTURES}
  COMMENT "Writing the tender texts and data sheets"
  VERBATIM)
add_custom_target(cataloguedocuments ALL DEPENDS ${CMAKE_BINARY_DIR}/documents.stamp)
add_dependencies(programdir cataloguedocuments)
