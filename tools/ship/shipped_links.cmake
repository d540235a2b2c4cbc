# korvel_check_shipped_links(program), called by each shipped program's folder (the CUPS filter
# is built without the other tools too).

# What a shipped program may link: the shared library `korvel`, libraries of the system
# (imported targets and plain names), targets defined under tools/ship and interface targets
# (build flags) that link nothing else. The configuration stops on anything else, however deep
# in the link: the static archive, a library of tools/make, or a library that links either.
include(${PROJECT_SOURCE_DIR}/cmake/link_graph.cmake)
function(korvel_require_shipped_links program)
  korvel_linked_targets(${program} reached others STOP korvel)
  list(REMOVE_ITEM reached korvel)
  foreach(target IN LISTS reached)
    get_target_property(type ${target} TYPE)
    get_target_property(folder ${target} SOURCE_DIR)
    cmake_path(IS_PREFIX CMAKE_CURRENT_FUNCTION_LIST_DIR "${folder}" shipped)
    if(NOT shipped AND NOT type STREQUAL "INTERFACE_LIBRARY")
      message(FATAL_ERROR "${program} is shipped but links ${target} (from ${folder}): a "
                          "shipped program links the shared korvel and tools/ship code only")
    endif()
  endforeach()
  foreach(item IN LISTS others)
    if(item MATCHES "korvel")
      message(FATAL_ERROR "${program} links ${item}, which is no target the check knows")
    endif()
  endforeach()
endfunction()

# korvel_check_shipped_links(program): the check above, made once the whole project is
# configured, and a test that the built program loads libkorvel.so and defines none of the
# library's own global functions or data itself (which it would if a copy of the library code
# were built in, whatever the link line says).
function(korvel_check_shipped_links program)
  if(NOT TARGET ${program})
    return()
  endif()
  cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY [[${PROJECT_SOURCE_DIR}]]
                                            CALL korvel_require_shipped_links [[${program}]])")
  if(KORVEL_BUILD_TESTS)
    add_test(NAME shipped_links.${program}
             COMMAND sh ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/check_shipped_links.sh
                     $<TARGET_FILE:${program}> $<TARGET_FILE:korvel_static>)
    set_tests_properties(shipped_links.${program} PROPERTIES LABELS "unit;shell")
  endif()
endfunction()
