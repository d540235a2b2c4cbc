# Debian packages made by CPack from the install components, split as Debian splits a library
# and its users (cmake --workflow --preset deb writes them into build-deb/):
#   libkorvel1            runtime     the shared library and the parameter files
#   libkorvel-dev         development the header, the .so link, the CMake and pkg-config files
#   korvel-tools          tools       the korvel tool and its sample chart
#   printer-driver-korvel cups        the CUPS filter rastertokorvel and its PPD
# Configured with KORVEL_DEBIAN_PACKAGES=ON and the prefix /usr (the deb preset does both):
# each package then also carries its copyright and changelog, and the programs carry no run
# path, the library being where the system looks for it.
set(KORVEL_DEBIAN_COMPONENTS runtime development tools cups)
set(KORVEL_DEBIAN_NAME_runtime libkorvel1)
set(KORVEL_DEBIAN_NAME_development libkorvel-dev)
set(KORVEL_DEBIAN_NAME_tools korvel-tools)
set(KORVEL_DEBIAN_NAME_cups printer-driver-korvel)
set(KORVEL_DEBIAN_SECTION_runtime libs)
set(KORVEL_DEBIAN_SECTION_development libdevel)
set(KORVEL_DEBIAN_SECTION_tools graphics)
set(KORVEL_DEBIAN_SECTION_cups text)

if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(FATAL_ERROR "KORVEL_DEBIAN_PACKAGES needs CMAKE_INSTALL_PREFIX=/usr (the deb preset)")
endif()

# The copyright file and a changelog in each package's documentation folder.
set(changelog ${PROJECT_BINARY_DIR}/debian/changelog.Debian)
string(TIMESTAMP KORVEL_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${changelog}
     "korvel (${PROJECT_VERSION}-1) unstable; urgency=medium\n\n"
     "  * Packages built by CPack from korvel ${PROJECT_VERSION}.\n\n"
     " -- korvel authors <korvel@example.org>  ${KORVEL_PACKAGE_DATE}\n")
execute_process(COMMAND gzip -9nf ${changelog} RESULT_VARIABLE zipped)
if(NOT zipped EQUAL 0)
  message(FATAL_ERROR "gzip could not compress ${changelog}")
endif()
foreach(component ${KORVEL_DEBIAN_COMPONENTS})
  set(name ${KORVEL_DEBIAN_NAME_${component}})
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${name}
          RENAME copyright COMPONENT ${component})
  install(FILES ${changelog}.gz DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${name}
          COMPONENT ${component})
  # What lintian reports of the package and is so on purpose, with the reasons.
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian/${name}
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides COMPONENT ${component})
  string(TOUPPER ${component} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${name})
  set(CPACK_DEBIAN_${upper}_PACKAGE_SECTION ${KORVEL_DEBIAN_SECTION_${component}})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvel)
set(CPACK_PACKAGE_VENDOR "The korvel authors")
# Each package has its own summary, the first line of its description below.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_PACKAGE_CONTACT "korvel authors <korvel@example.org>")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${KORVEL_DEBIAN_COMPONENTS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The library the programs use is in this build, not on the system.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/src)
set(CPACK_STRIP_FILES ON)
# The library's shlibs file and the loader cache's trigger; the maintainer scripts of the
# library's package do nothing (CPack's own call ldconfig, which Debian replaced by the trigger).
file(WRITE ${PROJECT_BINARY_DIR}/debian/shlibs
     "libkorvel ${PROJECT_VERSION_MAJOR} libkorvel1 (>= ${PROJECT_VERSION})\n")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA
    ${PROJECT_BINARY_DIR}/debian/shlibs ${PROJECT_SOURCE_DIR}/packaging/triggers
    ${PROJECT_SOURCE_DIR}/packaging/postinst ${PROJECT_SOURCE_DIR}/packaging/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Each of the others uses the library; the versions must match, the parameter files too.
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_COMPONENT_TOOLS_DEPENDS runtime)
set(CPACK_COMPONENT_CUPS_DEPENDS runtime)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_CUPS_PACKAGE_RECOMMENDS "cups, cups-filters, ghostscript")
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "halftoning library for inkjet printing
korvel screens ink levels and 8-bit grey images into packed 1-, 2- and 4-bit
dot rasters for inkjet printers: error diffusion, template diffusion, drop
screens and a threshold matrix. This package holds the shared library and the
parameter files of its quality levels.")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "halftoning library for inkjet printing - development files
korvel screens ink levels and 8-bit grey images into packed dot rasters for
inkjet printers. This package holds the C header, the CMake package and the
pkg-config file to build programs that use the library.")
set(CPACK_DEBIAN_TOOLS_DESCRIPTION "halftoning library for inkjet printing - command-line tool
korvel screens ink levels and 8-bit grey images into packed dot rasters for
inkjet printers. This package holds korvel, a tool to try, inspect and script
the library's screens on PGM, PNG and TIFF images, and a sample chart.")
set(CPACK_DEBIAN_CUPS_DESCRIPTION "CUPS driver for a generic inkjet halftoned by korvel
rastertokorvel screens the 8-bit raster of a CUPS job into 1- or 2-bit CUPS
raster with the korvel library; korvel-inkjet.ppd describes a generic inkjet
that uses it, with its screens, dot sizes and print qualities.")
include(CPack)
