# Run as a script at build time by disk_layer (cmake/layers.cmake): fails when a quoted include in
# FILES names a folder of src/ (one of LAYERS) that is not in SHOWN, or climbs out of its folder
# with "..", which the compiler would find beside the including file whatever the include root.
# Touches STAMP when every include is clean.
cmake_policy(SET CMP0057 NEW)
foreach(file ${FILES})
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    if(line MATCHES "\"[^\"]*\\.\\.[/\\\\]")
      message(FATAL_ERROR "${file}: ${line} climbs out of its folder")
    endif()
    if(line MATCHES "\"([^\"/]+)/")
      set(folder ${CMAKE_MATCH_1})
      if(folder IN_LIST LAYERS AND NOT folder IN_LIST SHOWN)
        message(FATAL_ERROR "${file}: ${line} reaches a layer above this one")
      endif()
    endif()
  endforeach()
endforeach()
file(TOUCH ${STAMP})
