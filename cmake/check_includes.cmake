# Run as a script at build time: fails when a quoted include in SOURCES climbs out of its folder
# with "..", which the compiler would find beside the including file whatever the include root.
# Touches STAMP when every include is clean.
foreach(source ${SOURCES})
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    if(line MATCHES "\"[^\"]*\\.\\.[/\\\\]")
      message(FATAL_ERROR "${source}: ${line} climbs out of its folder")
    endif()
  endforeach()
endforeach()
file(TOUCH ${STAMP})
