target_sources(korvel_objects PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/mask_factories.cpp)
