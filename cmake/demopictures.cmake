# The slideshow's demo pictures: room sections planned from the demo catalogue, drawn by the
# command line program into the program directory's Demobild folder. The folder is made anew, so
# a picture that is no longer drawn does not linger in it.
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/demopictures.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZELK_PROGRAM_DIR}/Demobild
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:zelkfyl-cli> demo-pictures ${ZELK_PROGRAM_DIR}/Demobild --program-dir ${ZELK_PROGRAM_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/demopictures.stamp
  DEPENDS zelkfyl-cli ${CMAKE_BINARY_DIR}/catalogue.stamp ${ZELK_PROGRAM_DIR}/Fyltext.txt
  COMMENT "Drawing the demo pictures"
  VERBATIM)
add_custom_target(demopictures ALL DEPENDS ${CMAKE_BINARY_DIR}/demopictures.stamp)
add_dependencies(programdir demopictures)
