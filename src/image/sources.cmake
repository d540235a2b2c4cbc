target_sources(korvel_objects PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/image_entry.cpp)
