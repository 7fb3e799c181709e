# Every target of the project compiles with the same warning set; lumo_warnings carries it.
add_library(lumo_warnings INTERFACE)
target_compile_options(lumo_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wcast-align -Wformat=2 -Wimplicit-fallthrough)
if(LUMO_WERROR)
  target_compile_options(lumo_warnings INTERFACE -Werror)
endif()
