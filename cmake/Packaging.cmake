# The release program and its packages: an installer (NSIS) and a portable
# archive (ZIP) per Windows build, made by CPack (tools/package.sh runs it):
#   morvel-<version>-x64-setup.exe, morvel-<version>-x64.zip  (win64 preset)
#   morvel-<version>-x86-setup.exe, morvel-<version>-x86.zip  (win32 preset)
# Both hold what `cmake --install` puts beside the program: morvel.exe, the
# language files, the icons and the help file.

# The release program carries no symbols: with them the 64-bit program is
# over 1 MiB, without them well under it.
target_link_options(morvel PRIVATE $<$<CONFIG:Release>:-s>)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(MORVEL_ARCH x64)
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_MORVEL_NSIS_TARGET amd64-unicode)
else()
  set(MORVEL_ARCH x86)
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
  set(CPACK_MORVEL_NSIS_TARGET x86-ansi)
endif()

# The portable archive's extras: how to give the program its settings, and a
# registry file that does it. CR LF, so that Notepad and regedit of every
# Windows read them.
set(MORVEL_PORTABLE_DIR ${CMAKE_BINARY_DIR}/portable)
function(morvel_crlf_file from to)
  file(READ ${from} text)
  string(CONFIGURE "${text}" text @ONLY)
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${to} "${text}")
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${from})
endfunction()
morvel_crlf_file(${PROJECT_SOURCE_DIR}/packaging/README-FIRST.txt.in
                 ${MORVEL_PORTABLE_DIR}/README-FIRST.txt)
morvel_crlf_file(${PROJECT_SOURCE_DIR}/packaging/morvel-defaults.reg
                 ${MORVEL_PORTABLE_DIR}/morvel-defaults.reg)

set(MORVEL_PACKAGE_DIR ${PROJECT_SOURCE_DIR}/build/packages CACHE PATH
    "Where tools/package.sh puts the packages")
set(CPACK_PACKAGE_DIRECTORY ${MORVEL_PACKAGE_DIR})
# cpack installs without building everything first (the test programs, in
# the 64-bit build): tools/package.sh builds what the packages hold.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME morvel)
set(CPACK_PACKAGE_VENDOR Tandrel)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CD and DVD drives in the notification area")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY Morvel)
set(CPACK_PACKAGE_FILE_NAME morvel-${PROJECT_VERSION}-${MORVEL_ARCH})
set(CPACK_MORVEL_ICON ${CMAKE_BINARY_DIR}/morvel.ico)
set(CPACK_MORVEL_PORTABLE_DIR ${MORVEL_PORTABLE_DIR})
# packaging/NSIS.template.in instead of CPack's own.
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging)
# Per generator: the installer's name, and the extras for the archive only.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/PerGenerator.cmake)
include(CPack)

if(MORVEL_TESTS)
  enable_testing()
  add_test(NAME release_program_size
           COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:morvel> -DLIMIT=1048576 -P
                   ${PROJECT_SOURCE_DIR}/packaging/CheckSize.cmake)
endif()
