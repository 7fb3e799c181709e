# libFuzzer targets: configure a separate build with clang and -DLUMO_FUZZ=ON (scripts/fuzz does).
# Every library is then built with coverage for the fuzzer; the fuzz targets link the fuzzer's main.
option(LUMO_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(LUMO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "LUMO_FUZZ needs clang (CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
