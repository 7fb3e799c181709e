# A sanitizer applies to the whole build so that every library and test is instrumented alike.
if(LUMO_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  # GCC's flow analysis under these sanitizers reports false "maybe uninitialized" in libstdc++
  # (std::regex, std::function), which -Werror would turn into a failed build. Clang has no such
  # warning (the fuzz builds use clang).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
elseif(LUMO_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT LUMO_SANITIZE STREQUAL "")
  message(FATAL_ERROR "LUMO_SANITIZE must be address, thread or empty, not '${LUMO_SANITIZE}'")
endif()
