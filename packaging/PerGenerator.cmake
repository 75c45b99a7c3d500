# Read by cpack once per generator (CPACK_PROJECT_CONFIG_FILE).
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  # The first-start text and the registry file go into the archive beside
  # the program; an installation writes the settings itself.
  set(CPACK_INSTALLED_DIRECTORIES "${CPACK_MORVEL_PORTABLE_DIR};.")
endif()
