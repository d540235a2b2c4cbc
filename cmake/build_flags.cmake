# Compiler flags of korvel's own targets. They are carried by two interface targets that every
# target defined by this project links privately (korvel_apply_build_flags at the end of the
# top-level CMakeLists.txt), so nothing reaches a parent project or a program using the library.
#   korvel_warnings         -Wall -Wextra, and -Werror when KORVEL_WARNINGS_AS_ERRORS is on
#   korvel_instrumentation  the sanitizers of KORVEL_SANITIZE and, with KORVEL_BUILD_FUZZ, the
#                           fuzzer's coverage instrumentation
add_library(korvel_warnings INTERFACE)
target_compile_options(korvel_warnings INTERFACE -Wall -Wextra
                       $<$<BOOL:${KORVEL_WARNINGS_AS_ERRORS}>:-Werror>)

add_library(korvel_instrumentation INTERFACE)
if(KORVEL_SANITIZE)
  target_compile_options(korvel_instrumentation INTERFACE -fsanitize=${KORVEL_SANITIZE}
                         -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(korvel_instrumentation INTERFACE -fsanitize=${KORVEL_SANITIZE})
endif()
if(KORVEL_BUILD_FUZZ)
  # Coverage instrumentation for the library and tools; the fuzz targets add the driver.
  target_compile_options(korvel_instrumentation INTERFACE -fsanitize=fuzzer-no-link)
endif()

# The buildable targets defined in `dir` and the folders below it.
function(korvel_collect_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    korvel_collect_targets(${sub} sub_targets)
    list(APPEND targets ${sub_targets})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# Links both flag targets into every compiled target of this project.
function(korvel_apply_build_flags)
  korvel_collect_targets(${PROJECT_SOURCE_DIR} targets)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      target_link_libraries(${target} PRIVATE korvel_warnings korvel_instrumentation)
    endif()
  endforeach()
endfunction()
