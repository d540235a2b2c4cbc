target_sources(korvel_objects PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/light_tables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/restart_tables_data.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splits.cpp
  ${CMAKE_CURRENT_LIST_DIR}/template_generators.cpp)
