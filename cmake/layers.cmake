# The layers of src/, each a library that sees only itself and the layers below it:
#
#   platform <- formats (fat beside it) <- media <- chips <- bios <- machine <- ui <- module
#
# disk_layer(<target> <folder> [OBJECT] [BELOW <library>...]) builds src/<folder> (and its
# win32/ or posix/ subfolder) as a library on the given lower ones, compiled against an include
# root of its own: a folder of symbolic links to src/<folder> and to the folders of every library
# below, and to nothing else. The root is a public include directory, so whatever links the
# library sees that root and no more; an include of a higher layer fails to compile. Before every
# build of the library a check reads its sources and headers: a quoted include that names a
# folder of src/ outside the root, or that climbs out with "..", fails the build too, even in a
# header that no source of the layer includes.
function(disk_layer target folder)
  cmake_parse_arguments(PARSE_ARGV 2 LAYER "OBJECT" "" "BELOW")
  set(src ${PROJECT_SOURCE_DIR}/src)
  if(WIN32)
    set(platform_folder win32)
  else()
    set(platform_folder posix)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${src}/${folder}/*.cpp ${src}/${folder}/${platform_folder}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${src}/${folder}/*.h ${src}/${folder}/*/*.h)
  if(LAYER_OBJECT)
    add_library(${target} OBJECT ${sources})
  else()
    add_library(${target} STATIC ${sources})
  endif()
  target_link_libraries(${target} PUBLIC ${LAYER_BELOW})

  set(folders ${folder})
  foreach(library ${LAYER_BELOW})
    get_target_property(below ${library} DISK_LAYER_FOLDERS)
    list(APPEND folders ${below})
  endforeach()
  list(REMOVE_DUPLICATES folders)
  set_target_properties(${target} PROPERTIES DISK_LAYER_FOLDERS "${folders}")

  set(root ${CMAKE_BINARY_DIR}/include_roots/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(shown ${folders})
    file(CREATE_LINK ${src}/${shown} ${root}/${shown} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})

  file(GLOB layers LIST_DIRECTORIES true RELATIVE ${src} ${src}/*)
  set(stamp ${CMAKE_BINARY_DIR}/include_roots/${target}.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} "-DFILES=${sources};${headers}" "-DSHOWN=${folders}"
            "-DLAYERS=${layers}" -DSTAMP=${stamp} -P ${PROJECT_SOURCE_DIR}/cmake/check_includes.cmake
    DEPENDS ${sources} ${headers} ${PROJECT_SOURCE_DIR}/cmake/check_includes.cmake
    COMMENT "Checking the includes of ${target}" VERBATIM)
  add_custom_target(${target}_includes DEPENDS ${stamp})
  add_dependencies(${target} ${target}_includes)
  disk_warnings(${target})
endfunction()
