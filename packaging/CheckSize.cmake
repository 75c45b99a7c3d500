# cmake -DPROGRAM=FILE -DLIMIT=BYTES -P CheckSize.cmake: fails when the file is
# missing or larger than LIMIT bytes.
if(NOT EXISTS "${PROGRAM}")
  message(FATAL_ERROR "${PROGRAM} is missing")
endif()
file(SIZE "${PROGRAM}" size)
if(size GREATER LIMIT)
  message(FATAL_ERROR "${PROGRAM} is ${size} bytes, over the limit of ${LIMIT}")
endif()
message(STATUS "${PROGRAM}: ${size} bytes (limit ${LIMIT})")
