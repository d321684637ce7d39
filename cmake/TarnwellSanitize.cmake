# Sanitizer and fuzzing builds; the default build uses neither.
#
# TARNWELL_SANITIZE=ON builds the whole tree (core, shell, tests) with
# AddressSanitizer and UndefinedBehaviorSanitizer; the first finding ends the
# program. The tests get the sanitizer settings from ctest, so a plain
# `ctest` in such a tree runs them as CI does.
#
# TARNWELL_FUZZ=ON (clang only) also builds the core for libFuzzer and adds
# the fuzz targets of tests/fuzz; scripts/fuzz runs them.
option(TARNWELL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TARNWELL_FUZZ "Build the libFuzzer targets (needs clang; implies TARNWELL_SANITIZE)" OFF)

if(TARNWELL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TARNWELL_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  set(TARNWELL_SANITIZE ON)
  # Coverage for the fuzzer everywhere; its main() only in the fuzz targets.
  target_compile_options(tarnwell_warnings INTERFACE -fsanitize=fuzzer-no-link)
endif()

if(TARNWELL_SANITIZE)
  target_compile_options(tarnwell_warnings INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(tarnwell_warnings INTERFACE -fsanitize=address,undefined)
  # Given to every test by tarnwell_add_test. Leaks inside the libraries we
  # call are not ours and are listed in tests/sanitizers/lsan.supp.
  set(TARNWELL_SANITIZER_ENV
    "ASAN_OPTIONS=detect_leaks=1"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizers/lsan.supp:print_suppressions=0")
endif()

# tarnwell_add_fuzzer(<name> SOURCES <files...>)
#
# A libFuzzer target linking the core and the test helpers. ctest runs it
# once over the inputs kept for it (tests/fuzz/corpus/<name>), so a crash once found
# stays mended; scripts/fuzz fuzzes for a while.
function(tarnwell_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  target_link_libraries(${name} PRIVATE tarnwell_core tarnwell_test_support tarnwell_warnings)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  if(NOT TARGET tarnwell_fuzzers)
    add_custom_target(tarnwell_fuzzers)
  endif()
  add_dependencies(tarnwell_fuzzers ${name})
  set(_corpus ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${name})
  add_test(NAME ${name} COMMAND ${name} -runs=0 ${_corpus})
  set(_tmp ${CMAKE_BINARY_DIR}/testhome/${name}/tmp)
  file(MAKE_DIRECTORY ${_tmp})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 300
    ENVIRONMENT "TMPDIR=${_tmp};${TARNWELL_SANITIZER_ENV}")
endfunction()
