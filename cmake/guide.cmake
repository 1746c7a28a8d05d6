# The short guide Fyl_Anleitung.pdf in the program directory, which the help menu's
# "Kurzanleitung" opens. Its source is docs/anleitung/Fyl_Anleitung.md; the pictures are taken at
# build time from the real windows, planned offscreen in the program directory laid out above, so
# the guide shows what this build shows. A change of the source or of any window code sets it anew.
add_executable(fyl-guideshots ${PROJECT_SOURCE_DIR}/tools/guide/guideshots.cpp)
target_link_libraries(fyl-guideshots PRIVATE fylui)
add_executable(fyl-guidepdf ${PROJECT_SOURCE_DIR}/tools/guide/guidepdf.cpp)
target_link_libraries(fyl-guidepdf PRIVATE fyldraw)

set(ZELK_GUIDE_SOURCE ${PROJECT_SOURCE_DIR}/docs/anleitung/Fyl_Anleitung.md)
set(ZELK_GUIDE_PICTURES ${CMAKE_BINARY_DIR}/guide)
add_custom_command(
  OUTPUT ${ZELK_PROGRAM_DIR}/Fyl_Anleitung.pdf
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZELK_GUIDE_PICTURES}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:fyl-guideshots> ${ZELK_PROGRAM_DIR} ${ZELK_GUIDE_PICTURES}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:fyl-guidepdf> ${ZELK_GUIDE_SOURCE} ${ZELK_PROGRAM_DIR}/Fyl_Anleitung.pdf
          ${ZELK_GUIDE_PICTURES} ${ZELK_PROGRAM_DIR}
  DEPENDS fyl-guideshots fyl-guidepdf ${ZELK_GUIDE_SOURCE} ${ZELK_PROGRAM_OUTPUTS}
          ${CMAKE_BINARY_DIR}/catalogue.stamp ${ZELK_PICTURES}
  COMMENT "Writing the short guide Fyl_Anleitung.pdf"
  VERBATIM)
add_custom_target(guide DEPENDS ${ZELK_PROGRAM_DIR}/Fyl_Anleitung.pdf)
add_dependencies(guide cataloguefiles)
# Part of the program directory, so that whatever needs the directory finds the guide in it.
add_dependencies(programdir guide)
