# Settings built into the program. The publisher build names the publisher's hosts; test and demo
# builds point at the local release service and trust its certificate authority.
set(LUMO_FLAVOR "test" CACHE STRING "Build flavour: publisher or test")
set_property(CACHE LUMO_FLAVOR PROPERTY STRINGS publisher test)

# The certificate authority that test and demo builds trust; the tests and the local release
# service make it on first use.
set(LUMO_TEST_CA_DIR "${CMAKE_BINARY_DIR}/test-ca" CACHE PATH "Folder of the test certificate authority")
if(LUMO_FLAVOR STREQUAL "test")
  set(default_ca_bundle "${LUMO_TEST_CA_DIR}/ca.pem")
else()
  set(default_ca_bundle "")
endif()
set(LUMO_CA_BUNDLE "${default_ca_bundle}" CACHE FILEPATH "CA bundle for https; empty means the system's")

# The agreement documents linked from the first page of the installer (built into the skin).
set(LUMO_AGREEMENT_LICENSE_URL "https://www.lumogame.example/agreement/user-license" CACHE STRING
    "Address of the user licence and service agreement")
set(LUMO_AGREEMENT_PRIVACY_URL "https://www.lumogame.example/agreement/privacy" CACHE STRING
    "Address of the privacy policy")
set(LUMO_AGREEMENT_CHILDREN_PRIVACY_URL "https://www.lumogame.example/agreement/children-privacy" CACHE STRING
    "Address of the children's privacy policy")

# The header comes last, once every setting above has its value.
configure_file(${CMAKE_CURRENT_LIST_DIR}/BuildSettings.h.in
               ${CMAKE_BINARY_DIR}/generated/lumo/BuildSettings.h @ONLY)
add_library(build_settings INTERFACE)
target_include_directories(build_settings INTERFACE ${CMAKE_BINARY_DIR}/generated)
