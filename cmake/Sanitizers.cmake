# MARROWLEAF_SANITIZE=address builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# MARROWLEAF_SANITIZE=thread with ThreadSanitizer. The flags apply to every target so that
# instrumented and uninstrumented code never mix.
if(MARROWLEAF_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(MARROWLEAF_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT MARROWLEAF_SANITIZE STREQUAL "")
  message(FATAL_ERROR "MARROWLEAF_SANITIZE must be address, thread or empty")
endif()
