target_sources(korvel_objects PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/globals.cpp
  ${CMAKE_CURRENT_LIST_DIR}/library.cpp)
