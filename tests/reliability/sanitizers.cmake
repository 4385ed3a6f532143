# Flags of the sanitizer build, for every target from here on: the engine,
# the programs, the tests and the fuzz targets. The top-level CMakeLists.txt
# includes this file when ORVANE_SANITIZE or ORVANE_FUZZ is on.
add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
  -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

if(ORVANE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ORVANE_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  # Coverage feedback for libFuzzer everywhere; only the fuzz targets link
  # its driver.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Every program of the build carries the sanitizers' default options, so
# ctest, a test run by hand, the fuzz targets and the soak run check alike.
add_library(orvane_sanitizer_defaults OBJECT ${CMAKE_CURRENT_LIST_DIR}/sanitizer_defaults.cpp)
target_compile_definitions(orvane_sanitizer_defaults PRIVATE
  ORVANE_LSAN_SUPPRESSIONS="${CMAKE_CURRENT_LIST_DIR}/lsan.supp")
link_libraries(orvane_sanitizer_defaults)
