# The icons are drawn at build time by tools/make-icons.py, beside the program
# where it loads them from, and installed with it. morvel.ico is also the
# program's own icon in its resources.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
# The script needs Pillow, which Debian's python3-pil gives Debian's python3;
# another python3 ahead of it on the PATH (a pyenv, say) does not see it.
set(MORVEL_ICON_PYTHON ${Python3_EXECUTABLE})
execute_process(COMMAND ${MORVEL_ICON_PYTHON} -c "import PIL"
                RESULT_VARIABLE MORVEL_NO_PILLOW OUTPUT_QUIET ERROR_QUIET)
if(MORVEL_NO_PILLOW AND EXISTS /usr/bin/python3)
  set(MORVEL_ICON_PYTHON /usr/bin/python3)
endif()

set(MORVEL_ICON_SCRIPT ${PROJECT_SOURCE_DIR}/tools/make-icons.py)
set(MORVEL_ICON_NAMES
  a b c d e f g h i j k l m n o p q r s t u v w x y z
  acd dvd RW morvel restore open close run explore exit)
set(MORVEL_ICON_FILES)
foreach(icon ${MORVEL_ICON_NAMES})
  list(APPEND MORVEL_ICON_FILES ${CMAKE_CURRENT_BINARY_DIR}/${icon}.ico)
endforeach()

add_custom_command(
  OUTPUT ${MORVEL_ICON_FILES}
  COMMAND ${MORVEL_ICON_PYTHON} ${MORVEL_ICON_SCRIPT} ${CMAKE_CURRENT_BINARY_DIR}
  DEPENDS ${MORVEL_ICON_SCRIPT}
  COMMENT "Drawing the icons"
  VERBATIM)
add_custom_target(morvel_icons DEPENDS ${MORVEL_ICON_FILES})
add_dependencies(morvel morvel_icons)

# windres looks for morvel.ico in the build folder, and the resources are
# compiled again when the icon changes.
target_include_directories(morvel PRIVATE $<$<COMPILE_LANGUAGE:RC>:${CMAKE_CURRENT_BINARY_DIR}>)
set_source_files_properties(${PROJECT_SOURCE_DIR}/resources/morvel.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/morvel.ico)

install(FILES ${MORVEL_ICON_FILES} DESTINATION .)

if(MORVEL_TESTS)
  # Python itself, not the cross compiler's emulator, runs these.
  add_test(NAME icon_files
           COMMAND ${MORVEL_ICON_PYTHON} ${MORVEL_ICON_SCRIPT} --check ${CMAKE_CURRENT_BINARY_DIR})
  add_test(NAME icon_files_checker COMMAND ${MORVEL_ICON_PYTHON} ${MORVEL_ICON_SCRIPT} --self-test)
endif()
