# korvel_add_fuzzed_program_sources(TARGET NAME): the fuzz targets that exercise a program's own
# code build it from that program's sources: image_reader_fuzz the command-line tool's image
# readers, raster_filter_fuzz the CUPS filter's raster reading and band pipeline. The other
# targets fuzz the library alone and get nothing. TARGET is the fuzz target NAME or its replay.
function(korvel_add_fuzzed_program_sources target name)
  if(name STREQUAL "image_reader_fuzz")
    include(${PROJECT_SOURCE_DIR}/fuzz/image_reader_sources.cmake)
    korvel_add_image_reader(${target})
  elseif(name STREQUAL "raster_filter_fuzz")
    include(${PROJECT_SOURCE_DIR}/tools/ship/rastertokorvel/filter_sources.cmake)
    korvel_add_raster_filter(${target})
  endif()
endfunction()
