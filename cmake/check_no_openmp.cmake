# Fails when the shared library LIBRARY names an OpenMP runtime among its needed libraries.
#   cmake -DLIBRARY=libkorvel.so -DREADELF=readelf -P check_no_openmp.cmake
execute_process(COMMAND ${READELF} --dynamic ${LIBRARY} OUTPUT_VARIABLE dynamic
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot read the dynamic section of ${LIBRARY}")
endif()
string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*" needed "${dynamic}")
if(NOT needed)
  message(FATAL_ERROR "no NEEDED entry found in ${LIBRARY}: the check cannot see anything")
endif()
string(REPLACE ";" "\n  " listed "${needed}")
message(STATUS "${LIBRARY} needs:\n  ${listed}")
if(needed MATCHES "lib(g|i)?omp[^a-z]")
  message(FATAL_ERROR "${LIBRARY} links an OpenMP runtime")
endif()
