target_sources(korvel_objects PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/stubs.cpp)
