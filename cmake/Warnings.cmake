# Our own code is held to a strict warning set; third-party headers are included as SYSTEM so their
# warnings never fail our build.
function(marrowleaf_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wsuggest-override -Werror
    # Guard clauses may log an empty message.
    -Wno-format-zero-length
    # On ARM, GCC notes that version 7.1 changed how some aggregates are passed; that matters only
    # when linking with code built by older compilers, which this build never does.
    $<$<STREQUAL:${CMAKE_SYSTEM_PROCESSOR},arm>:-Wno-psabi>)
endfunction()
