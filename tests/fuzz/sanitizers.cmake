# The fuzz build: every target of this build folder carries AddressSanitizer and
# UndefinedBehaviorSanitizer (any report stops the run), and the coverage instrumentation that
# libFuzzer steers by. The fuzz targets add libFuzzer's main when they link.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "NOBRISA_FUZZ needs clang: -DCMAKE_CXX_COMPILER=clang++")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
  -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
