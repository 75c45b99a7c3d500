# The JPEG decoder for the Windows builds: libjpeg-turbo from Debian's source
# package, built static with the same cross compiler as the program. Without
# nasm the SIMD parts are left out; the two small pictures of the about box
# decode in no time either way. Defines the target morvel_libjpeg.
include(ExternalProject)

set(MORVEL_JPEG_SOURCE ${CMAKE_BINARY_DIR}/libjpeg/source)
set(MORVEL_JPEG_BUILD ${CMAKE_BINARY_DIR}/libjpeg/build)
set(MORVEL_JPEG_LIBRARY ${MORVEL_JPEG_BUILD}/libjpeg.a)

ExternalProject_Add(libjpeg_turbo
  PREFIX ${CMAKE_BINARY_DIR}/libjpeg
  SOURCE_DIR ${MORVEL_JPEG_SOURCE}
  BINARY_DIR ${MORVEL_JPEG_BUILD}
  DOWNLOAD_COMMAND bash ${PROJECT_SOURCE_DIR}/tools/libjpeg-source.sh ${MORVEL_JPEG_SOURCE}
  UPDATE_COMMAND ""
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_SIMD=OFF
    -DWITH_TURBOJPEG=OFF
    # Never installed, but its default would be a Windows path.
    -DCMAKE_INSTALL_PREFIX=${CMAKE_BINARY_DIR}/libjpeg/install
  # The library alone: the command-line tools and tests are not needed.
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${MORVEL_JPEG_LIBRARY}
  LOG_DOWNLOAD ON
  LOG_CONFIGURE ON
  LOG_BUILD ON
  LOG_OUTPUT_ON_FAILURE ON)

# The include folders must exist when the build files are written.
file(MAKE_DIRECTORY ${MORVEL_JPEG_SOURCE} ${MORVEL_JPEG_BUILD})
add_library(morvel_libjpeg STATIC IMPORTED GLOBAL)
set_target_properties(morvel_libjpeg PROPERTIES
  IMPORTED_LOCATION ${MORVEL_JPEG_LIBRARY}
  # jconfig.h is written into the build folder.
  INTERFACE_INCLUDE_DIRECTORIES "${MORVEL_JPEG_SOURCE};${MORVEL_JPEG_BUILD}")
add_dependencies(morvel_libjpeg libjpeg_turbo)
