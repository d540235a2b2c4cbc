# The demo target (cmake --workflow --preset demo): the tool on the sample chart, a pattern, a
# template and a split, all into build/demo/.
set(KORVEL_DEMO_DIR ${PROJECT_BINARY_DIR}/demo)
set(KORVEL_CHART ${PROJECT_SOURCE_DIR}/data/chart.pgm)
set(korvel $<TARGET_FILE:korvel_cli>)
file(MAKE_DIRECTORY ${KORVEL_DEMO_DIR})
if(TIFF_FOUND)
  set(KORVEL_DEMO_TIFF COMMAND ${korvel} halftone --stats ${KORVEL_CHART} chart-1bit-g4.tif)
endif()
add_custom_target(demo
  COMMAND ${korvel} info
  COMMAND ${korvel} halftone --stats ${KORVEL_CHART} chart-1bit.png
  COMMAND ${korvel} halftone --stats --template-diffusion ${KORVEL_CHART}
          chart-1bit-template-diffusion.png
  COMMAND ${korvel} halftone --stats --type 42 ${KORVEL_CHART} chart-1bit-matrix.png
  COMMAND ${korvel} halftone --stats --bits 2 ${KORVEL_CHART} chart-2bit-drops.png
  COMMAND ${korvel} halftone --stats --screen fine ${KORVEL_CHART} chart-1bit-fine.png
  COMMAND ${korvel} halftone --stats --screen best ${KORVEL_CHART} chart-1bit-best.png
  COMMAND ${korvel} halftone --stats --bits 2 --screen best ${KORVEL_CHART} chart-2bit-best.png
  COMMAND ${korvel} halftone --stats --bits 4 ${KORVEL_CHART} chart-4bit.png
  COMMAND ${korvel} halftone --stats ${KORVEL_CHART} chart-1bit.pbm
  ${KORVEL_DEMO_TIFF}
  COMMAND ${korvel} halftone --stats --type 4 --size 512x256 pattern-bars.png
  COMMAND ${korvel} halftone --stats --type 38 --size 256x512 pattern-compensation-ramp.png
  COMMAND ${korvel} template --stats --level 25 --bits 1 --size 256x256 template-25.png
  COMMAND ${korvel} template --stats --level 60 --bits 2 --size 256x256 template-60-2bit.png
  COMMAND ${korvel} split --stats --planes 3 --size 256x256 split.png
  COMMAND ${CMAKE_COMMAND} -E echo "korvel demo: the outputs are in ${KORVEL_DEMO_DIR}/"
  DEPENDS korvel_cli
  WORKING_DIRECTORY ${KORVEL_DEMO_DIR}
  VERBATIM)
