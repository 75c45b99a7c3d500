# The about box's two JPEG pictures, drawn at build time by
# tools/make-pictures.py into the build folder. The Windows program carries
# them as data resources; the tests decode them.
find_package(Python3 COMPONENTS Interpreter REQUIRED)

set(MORVEL_PICTURE_SCRIPT ${PROJECT_SOURCE_DIR}/tools/make-pictures.py)
set(MORVEL_PICTURE_FILES ${CMAKE_BINARY_DIR}/product.jpg ${CMAKE_BINARY_DIR}/donate.jpg)
add_custom_command(
  OUTPUT ${MORVEL_PICTURE_FILES}
  COMMAND ${Python3_EXECUTABLE} ${MORVEL_PICTURE_SCRIPT} ${CMAKE_BINARY_DIR}
  DEPENDS ${MORVEL_PICTURE_SCRIPT}
  COMMENT "Drawing the about box's pictures"
  VERBATIM)
add_custom_target(morvel_pictures DEPENDS ${MORVEL_PICTURE_FILES})
