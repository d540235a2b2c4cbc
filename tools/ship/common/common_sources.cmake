# The shared tool sources, for targets that build them in (the fuzz targets, linked against the
# static library): korvel_add_tool_common(target).
function(korvel_add_tool_common target)
  set(common ${PROJECT_SOURCE_DIR}/tools/ship/common)
  target_sources(${target} PRIVATE ${common}/executable_folder.cpp
                 ${common}/screening_context.cpp ${common}/small_file.cpp
                 ${common}/tone_curve_file.cpp)
  target_include_directories(${target} PRIVATE ${common})
endfunction()
