# The catalogue's documents in the program directory: the tender texts (Aus_texte/) and the data
# sheets (catalog/), written from the catalogue source once the catalogue files and the type
# pictures are in place. The types that have a data sheet only get their sketches first.
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/sheetpictures.stamp
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELK_PROGRAM_DIR}/Fyl_Bilder
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:fyl-cataloguepictures>
          ${ZELK_CATALOGUE_SOURCE} ${ZELK_PROGRAM_DIR}/Fyl_Bilder data_sheet_types
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/sheetpictures.stamp
  DEPENDS fyl-cataloguepictures ${ZELK_CATALOGUE_SOURCE}
  COMMENT "Drawing the pictures of the types with a data sheet only"
  VERBATIM)

add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/documents.stamp
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:zelkfyl-cli> documents
          ${ZELK_CATALOGUE_SOURCE} ${ZELK_PROGRAM_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/documents.stamp
  DEPENDS zelkfyl-cli ${ZELK_CATALOGUE_SOURCE} ${CMAKE_BINARY_DIR}/catalogue.stamp ${ZELK_PICTURES}
          ${CMAKE_BINARY_DIR}/sheetpictures.stamp
  COMMENT "Writing the tender texts and data sheets"
  VERBATIM)
add_custom_target(cataloguedocuments ALL DEPENDS ${CMAKE_BINARY_DIR}/documents.stamp)
add_dependencies(programdir cataloguedocuments)
