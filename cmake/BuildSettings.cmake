# Settings built into the program. The publisher build names the publisher's hosts; test and demo
# builds point at the local release service and trust its certificate authority.
set(LUMO_FLAVOR "test" CACHE STRING "Build flavour: publisher or test")
set_property(CACHE LUMO_FLAVOR PROPERTY STRINGS publisher test)
if(NOT LUMO_FLAVOR MATCHES "^(publisher|test)$")
  message(FATAL_ERROR "LUMO_FLAVOR must be publisher or test, not '${LUMO_FLAVOR}'")
endif()

# The certificate authority that test and demo builds trust; the tests and the local release
# service make it on first use.
set(LUMO_TEST_CA_DIR "${CMAKE_BINARY_DIR}/test-ca" CACHE PATH "Folder of the test certificate authority")

# The defaults that differ by flavour. Test builds trust the test authority and ask a loopback DNS
# server that the tests start, so no query leaves the machine.
if(LUMO_FLAVOR STREQUAL "test")
  set(default_ca_bundle "${LUMO_TEST_CA_DIR}/ca.pem")
  set(default_backup_dns "127.0.0.1:15353")
else()
  set(default_ca_bundle "")
  set(default_backup_dns "114.114.114.114")
endif()

set(LUMO_CA_BUNDLE "${default_ca_bundle}" CACHE FILEPATH "CA bundle for https; empty means the system's")

# The local release service's fixed ports: what test and demo builds have built in, and the
# service's defaults.
set(LUMO_RELEASE_SERVICE_HTTPS_PORT 18443 CACHE STRING "Local release service: HTTPS port of the version endpoints")
set(LUMO_RELEASE_SERVICE_HTTP_PORT 18080 CACHE STRING "Local release service: plain HTTP port of the telemetry receiver")
set(LUMO_RELEASE_SERVICE_CONTROL_PORT 18081 CACHE STRING "Local release service: loopback port of its control endpoint")

# The version endpoints (tried in this order) and the telemetry endpoint. Empty means the flavour's
# own: the publisher's hosts, or the local release service on its fixed ports.
set(LUMO_VERSION_URL_0 "" CACHE STRING "Primary version endpoint; empty: the flavour's")
set(LUMO_VERSION_URL_1 "" CACHE STRING "First backup version endpoint; empty: the flavour's")
set(LUMO_VERSION_URL_2 "" CACHE STRING "Second backup version endpoint; empty: the flavour's")
set(LUMO_TELEMETRY_URL "" CACHE STRING "Telemetry endpoint (plain HTTP); empty: the flavour's")

set(version_path "/api/pt/latest-version")
if(LUMO_FLAVOR STREQUAL "publisher")
  set(flavour_version_urls
      "https://pt-api.lumogame.example${version_path}"
      "https://pt-api-b1.lumogame.example${version_path}"
      "https://pt-api-b2.lumogame.example${version_path}")
  set(flavour_telemetry_url "http://log.lumogame.example/log/common")
else()
  set(flavour_version_urls
      "https://127.0.0.1:${LUMO_RELEASE_SERVICE_HTTPS_PORT}${version_path}"
      "https://127.0.0.2:${LUMO_RELEASE_SERVICE_HTTPS_PORT}${version_path}"
      "https://127.0.0.3:${LUMO_RELEASE_SERVICE_HTTPS_PORT}${version_path}")
  set(flavour_telemetry_url "http://127.0.0.1:${LUMO_RELEASE_SERVICE_HTTP_PORT}/log/common")
endif()
foreach(index 0 1 2)
  list(GET flavour_version_urls ${index} flavour_url)
  if(LUMO_VERSION_URL_${index} STREQUAL "")
    set(LUMO_EFFECTIVE_VERSION_URL_${index} "${flavour_url}")
  else()
    set(LUMO_EFFECTIVE_VERSION_URL_${index} "${LUMO_VERSION_URL_${index}}")
  endif()
endforeach()
if(LUMO_TELEMETRY_URL STREQUAL "")
  set(LUMO_EFFECTIVE_TELEMETRY_URL "${flavour_telemetry_url}")
else()
  set(LUMO_EFFECTIVE_TELEMETRY_URL "${LUMO_TELEMETRY_URL}")
endif()

# The DNS servers the HTTP client tries after the system resolver, as "host[:port]" entries split
# at ",".
set(LUMO_BACKUP_DNS_SERVERS "${default_backup_dns}" CACHE STRING "Backup DNS servers of the HTTP client")

# The agreement documents linked from the first page of the installer (built into the skin).
set(LUMO_AGREEMENT_LICENSE_URL "https://www.lumogame.example/agreement/user-license" CACHE STRING
    "Address of the user licence and service agreement")
set(LUMO_AGREEMENT_PRIVACY_URL "https://www.lumogame.example/agreement/privacy" CACHE STRING
    "Address of the privacy policy")
set(LUMO_AGREEMENT_CHILDREN_PRIVACY_URL "https://www.lumogame.example/agreement/children-privacy" CACHE STRING
    "Address of the children's privacy policy")

message(STATUS "Build flavour: ${LUMO_FLAVOR} (version endpoint ${LUMO_EFFECTIVE_VERSION_URL_0}, "
               "telemetry ${LUMO_EFFECTIVE_TELEMETRY_URL})")
if(LUMO_FLAVOR STREQUAL "test")
  message(STATUS "  test builds talk to the local release service on loopback and trust ${LUMO_CA_BUNDLE}; "
                 "use -DLUMO_FLAVOR=publisher or the 'publisher' preset for the publisher's hosts")
endif()

# Last, so that the header sees every setting above even on the first configure.
configure_file(${CMAKE_CURRENT_LIST_DIR}/BuildSettings.h.in
               ${CMAKE_BINARY_DIR}/generated/lumo/BuildSettings.h @ONLY)
add_library(build_settings INTERFACE)
target_include_directories(build_settings INTERFACE ${CMAKE_BINARY_DIR}/generated)
