# Settings built into the program. The publisher build names the publisher's hosts; test and demo
# builds point at the local release service and trust its certificate authority.
set(LUMO_FLAVOR "test" CACHE STRING "Build flavour: publisher or test")
set_property(CACHE LUMO_FLAVOR PROPERTY STRINGS publisher test)

configure_file(${CMAKE_CURRENT_LIST_DIR}/BuildSettings.h.in
               ${CMAKE_BINARY_DIR}/generated/lumo/BuildSettings.h @ONLY)
add_library(build_settings INTERFACE)
target_include_directories(build_settings INTERFACE ${CMAKE_BINARY_DIR}/generated)
