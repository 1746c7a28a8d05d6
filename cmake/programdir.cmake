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

add_custom_target(programdir ALL DEPENDS ${ZELK_PROGRAM_OUTPUTS})
