# korvel_copy_parameter_files(TARGET): keeps a copy of data/Data beside the built TARGET, where
# the library (and the programs that look beside themselves) find the parameter files, refreshed
# whenever a file changes.
function(korvel_copy_parameter_files target)
  file(GLOB files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/Data/*.ini)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/Data.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E remove_directory ${CMAKE_CURRENT_BINARY_DIR}/Data
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/data/Data
            ${CMAKE_CURRENT_BINARY_DIR}/Data
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${files}
    COMMENT "Copying the parameter files beside ${target}")
  add_custom_target(${target}_data DEPENDS ${stamp})
  add_dependencies(${target} ${target}_data)
endfunction()
