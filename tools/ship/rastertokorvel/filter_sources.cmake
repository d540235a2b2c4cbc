# The CUPS filter's sources other than its main, for the filter itself, its fuzz target and its
# benchmark: korvel_add_raster_filter(target) adds them, the shared tool sources they use, and
# libcups. The target links the library itself (shared, or static for the fuzz targets).
function(korvel_add_raster_filter target)
  find_package(Cups REQUIRED)
  set(filter ${PROJECT_SOURCE_DIR}/tools/ship/rastertokorvel)
  target_sources(${target} PRIVATE
    ${filter}/compressed_page_tracker.cpp
    ${filter}/curve_folder.cpp
    ${filter}/filter_arguments.cpp
    ${filter}/filter_settings.cpp
    ${filter}/ink_stream.cpp
    ${filter}/job_options.cpp
    ${filter}/page_format.cpp
    ${filter}/page_screen.cpp
    ${filter}/parameter_folder.cpp
    ${filter}/ppd_choices.cpp
    ${filter}/raster_job.cpp
    ${filter}/raster_source.cpp
    ${filter}/row_packing.cpp
    ${filter}/stop_request.cpp
    ${filter}/thread_pool.cpp)
  target_include_directories(${target} PRIVATE ${filter})
  include(${PROJECT_SOURCE_DIR}/tools/ship/common/common_sources.cmake)
  korvel_add_tool_common(${target})
  find_package(Threads REQUIRED)
  target_link_libraries(${target} PRIVATE Cups::Cups Threads::Threads)
endfunction()
