# Installation: the versioned shared library, the public header, a pkg-config file, a CMake
# package (find_package(korvel) gives korvel::korvel), the korvel tool and its data.
include(CMakePackageConfigHelpers)

set(KORVEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/korvel)
set(KORVEL_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/korvel)

install(TARGETS korvel EXPORT korvelTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/korvel/korvel.h ${PROJECT_SOURCE_DIR}/include/korvel/korvel_context.h
              ${PROJECT_SOURCE_DIR}/include/korvel/korvel_version.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/korvel COMPONENT development)

# CMake package. The export set holds the shared library only; its object library is private
# to it, so a host needs nothing else.
install(EXPORT korvelTargets NAMESPACE korvel:: DESTINATION ${KORVEL_CMAKE_DIR}
  COMPONENT development)
file(WRITE ${PROJECT_BINARY_DIR}/korvelConfig.cmake.in [=[
@PACKAGE_INIT@
include("${CMAKE_CURRENT_LIST_DIR}/korvelTargets.cmake")
check_required_components(korvel)
]=])
configure_package_config_file(${PROJECT_BINARY_DIR}/korvelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/korvelConfig.cmake INSTALL_DESTINATION ${KORVEL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/korvelConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/korvelConfig.cmake ${PROJECT_BINARY_DIR}/korvelConfigVersion.cmake
  DESTINATION ${KORVEL_CMAKE_DIR} COMPONENT development)

# pkg-config, relocatable: the prefix is found from the .pc file's own folder.
file(RELATIVE_PATH KORVEL_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" KORVEL_PC_TO_PREFIX "${KORVEL_PC_TO_PREFIX}")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/korvel.pc @ONLY CONTENT [=[
prefix=${pcfiledir}/@KORVEL_PC_TO_PREFIX@
libdir=${prefix}/@CMAKE_INSTALL_LIBDIR@
includedir=${prefix}/@CMAKE_INSTALL_INCLUDEDIR@

Name: korvel
Description: @PROJECT_DESCRIPTION@
Version: @PROJECT_VERSION@
Libs: -L${libdir} -lkorvel
Cflags: -I${includedir}
]=])
install(FILES ${PROJECT_BINARY_DIR}/korvel.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT development)

# The tool, which finds the library through its run path and the data through
# KORVEL_DATA_DIR, which it sets to <prefix>/share/korvel/Data itself.
if(TARGET korvel_cli)
  install(TARGETS korvel_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/Data DESTINATION ${KORVEL_DATA_INSTALL_DIR}
  COMPONENT runtime)
install(FILES ${PROJECT_SOURCE_DIR}/data/chart.pgm DESTINATION ${KORVEL_DATA_INSTALL_DIR}
  COMPONENT tools)

# Debian packages of the components above (see debian_packages.cmake).
option(KORVEL_DEBIAN_PACKAGES "Make Debian packages with CPack (configure with prefix /usr)" OFF)
if(KORVEL_DEBIAN_PACKAGES)
  include(${CMAKE_CURRENT_LIST_DIR}/debian_packages.cmake)
endif()
