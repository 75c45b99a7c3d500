# The help file MorvelHelp.chm, compiled at build time with chmcmd (Debian's
# fp-utils) from the pages in resources/help, and placed beside the program,
# where the about box's Help button opens it.
find_program(MORVEL_CHMCMD chmcmd REQUIRED)

file(GLOB MORVEL_HELP_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/help/*)
set(MORVEL_HELP_WORK ${CMAKE_BINARY_DIR}/help)
set(MORVEL_HELP_FILE ${CMAKE_BINARY_DIR}/MorvelHelp.chm)
add_custom_command(
  OUTPUT ${MORVEL_HELP_FILE}
  # A copy of its own, so that nothing is written into the source tree.
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${MORVEL_HELP_WORK}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/resources/help
          ${MORVEL_HELP_WORK}
  COMMAND ${CMAKE_COMMAND} -E chdir ${MORVEL_HELP_WORK} ${MORVEL_CHMCMD} --no-html-scan --verbosity 1
          morvel.hhp
  COMMAND ${CMAKE_COMMAND} -E copy ${MORVEL_HELP_WORK}/MorvelHelp.chm ${MORVEL_HELP_FILE}
  DEPENDS ${MORVEL_HELP_SOURCES}
  COMMENT "Compiling the help file"
  VERBATIM)
add_custom_target(morvel_help ALL DEPENDS ${MORVEL_HELP_FILE})
install(FILES ${MORVEL_HELP_FILE} DESTINATION .)
