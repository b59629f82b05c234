# marrowleaf_shared_object_name(<variable> <library file>): the name the dynamic loader knows a shared
# library by (its SONAME, e.g. "libSDL2-2.0.so.0"), for the host libraries the simulator opens only
# when it first needs them instead of linking them.
function(marrowleaf_shared_object_name variable library_file)
  execute_process(COMMAND ${CMAKE_OBJDUMP} -p ${library_file}
                  OUTPUT_VARIABLE dump ERROR_QUIET RESULT_VARIABLE failed)
  string(REGEX MATCH "SONAME +([^ \r\n]+)" found "${dump}")
  if(failed OR NOT CMAKE_MATCH_1)
    message(FATAL_ERROR "can't read the shared object name of ${library_file}")
  endif()
  set(${variable} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()
