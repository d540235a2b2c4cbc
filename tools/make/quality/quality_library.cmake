# korvel_add_quality_library(NAME LIBRARY): the quality measurements (a textbook
# Floyd-Steinberg, test inputs, runs of the library's screens, the reports) as a static library
# NAME that runs the screens of LIBRARY, a korvel static archive. korvel_quality runs those of
# korvel_static; a table generator that builds without the table it writes has its own.
function(korvel_add_quality_library name library)
  set(quality ${PROJECT_SOURCE_DIR}/tools/make/quality)
  add_library(${name} STATIC
    ${quality}/floyd_steinberg.cpp
    ${quality}/test_images.cpp
    ${quality}/error_diffusion_run.cpp
    ${quality}/row_coverage.cpp
    ${quality}/own_screen_run.cpp
    ${quality}/best_report.cpp
    ${quality}/fine_report.cpp
    ${quality}/plain_search.cpp)
  target_include_directories(${name} PUBLIC ${quality})
  target_link_libraries(${name} PUBLIC korvel_figures ${library})
  target_compile_features(${name} PUBLIC cxx_std_17)
  target_compile_definitions(${name} PUBLIC KORVEL_QUALITY_PHOTOS="${quality}/photos")
endfunction()
