function(disk_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wnon-virtual-dtor
    -Wcast-align -Wunused -Woverloaded-virtual -Wimplicit-fallthrough)
  if(DISK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
