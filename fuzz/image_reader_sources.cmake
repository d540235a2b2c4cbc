# The command-line tool's image readers, which the image-reader fuzz target and its replay test
# build from the tool's own sources: korvel_add_image_reader(target).
function(korvel_add_image_reader target)
  find_package(PNG REQUIRED)
  set(tool ${PROJECT_SOURCE_DIR}/tools/ship/korvel)
  target_sources(${target} PRIVATE ${tool}/image_reader.cpp ${tool}/png_reader.cpp
                 ${tool}/pnm_reader.cpp ${tool}/raster.cpp ${tool}/size_limits.cpp ${tool}/progress.cpp)
  target_include_directories(${target} PRIVATE ${tool} ${PROJECT_SOURCE_DIR}/tools/ship/common)
  target_link_libraries(${target} PRIVATE PNG::PNG)
endfunction()
