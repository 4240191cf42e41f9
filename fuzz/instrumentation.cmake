# Included by the top-level CMakeLists.txt when TIRRAVEL_FUZZ is on (the fuzz preset): every
# object of the tree, the platform's included, carries libFuzzer's coverage and AddressSanitizer +
# UndefinedBehaviorSanitizer; only the fuzz targets link libFuzzer's main.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "The fuzz targets need clang (libFuzzer): configure with the fuzz preset")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer -g
                    -fsanitize-coverage-ignorelist=${CMAKE_CURRENT_LIST_DIR}/coverage_ignore.txt)
add_link_options(-fsanitize=address,undefined)
# For measuring what the corpus reaches (scripts/fuzz-coverage): source-based coverage too.
if(TIRRAVEL_FUZZ_COVERAGE)
  add_compile_options(-fprofile-instr-generate -fcoverage-mapping)
  add_link_options(-fprofile-instr-generate)
endif()
