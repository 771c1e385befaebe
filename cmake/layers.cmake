# disk_include_root(<target> <folder>...): compiles <target> against an include root of its own
# that shows only the given folders of src/, so that an include of any other folder fails to
# compile. A quoted include that climbs out with ".." would still be found beside the including
# file: a check before every build of the target refuses it. Users of the target see all of src/.
function(disk_include_root target)
  set(root ${CMAKE_BINARY_DIR}/include_roots/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(folder ${ARGN})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${root} INTERFACE ${PROJECT_SOURCE_DIR}/src)

  get_target_property(sources ${target} SOURCES)
  list(TRANSFORM sources PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ REGEX "^[^/]")
  set(stamp ${CMAKE_BINARY_DIR}/include_roots/${target}.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} "-DSOURCES=${sources}" -DSTAMP=${stamp}
            -P ${PROJECT_SOURCE_DIR}/cmake/check_includes.cmake
    DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/cmake/check_includes.cmake
    COMMENT "Checking the includes of ${target}" VERBATIM)
  add_custom_target(${target}_includes DEPENDS ${stamp})
  add_dependencies(${target} ${target}_includes)
endfunction()
