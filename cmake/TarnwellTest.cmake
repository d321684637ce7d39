# tarnwell_add_test(<name> LABEL unit|ui|integration SOURCES <files...> [LIBS <targets...>])
#
# unit tests link the core alone (which proves it needs no widgets); ui tests
# link the shell and run on the offscreen platform. Every test gets its own
# data, config, cache and temporary folders under the build tree, so nothing
# ever touches the real home folder.
function(tarnwell_add_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT T_LABEL MATCHES "^(unit|ui|integration)$")
    message(FATAL_ERROR "tarnwell_add_test(${name}): LABEL must be unit, ui or integration")
  endif()
  # Without the windows, tests that need them are left out.
  if(NOT TARNWELL_GUI AND (T_LABEL STREQUAL "ui" OR "tarnwell_shell" IN_LIST T_LIBS))
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE tarnwell_test_support Qt6::Test tarnwell_warnings ${T_LIBS})
  if(T_LABEL STREQUAL "ui")
    target_link_libraries(${name} PRIVATE tarnwell_shell)
  else()
    target_link_libraries(${name} PRIVATE tarnwell_core)
  endif()
  target_compile_definitions(${name} PRIVATE
    TARNWELL_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    TARNWELL_TEST_SUPPORT="${PROJECT_SOURCE_DIR}/tests/support")
  add_test(NAME ${name} COMMAND ${name})
  set(_home ${CMAKE_BINARY_DIR}/testhome/${name})
  file(MAKE_DIRECTORY ${_home}/data ${_home}/config ${_home}/cache ${_home}/tmp)
  # The window searches ProgramFiles for the signing tool when it starts:
  # the test's own folder, never the machine's, holding a placeholder so a
  # window starts as on a machine with the SDK (no search message). Tests
  # of the search and of signing point elsewhere.
  file(WRITE ${_home}/programs/sdk/bin/signtool.exe "placeholder: never run\n")
  set(_env
    "ProgramFiles=${_home}/programs"
    "XDG_DATA_HOME=${_home}/data"
    "XDG_CONFIG_HOME=${_home}/config"
    "XDG_CACHE_HOME=${_home}/cache"
    "TMPDIR=${_home}/tmp"
    # The update check never leaves the machine in a test: off unless a
    # test points it at its own local server.
    "TARNWELL_UPDATE_ADDRESS="
    ${TARNWELL_SANITIZER_ENV})
  if(T_LABEL STREQUAL "ui")
    # The help pages as the build copies them (build/share/tarnwell/help).
    list(APPEND _env "QT_QPA_PLATFORM=offscreen"
      "XDG_DATA_DIRS=${CMAKE_BINARY_DIR}/share:/usr/local/share:/usr/share")
    if(TARGET tarnwell_help)
      add_dependencies(${name} tarnwell_help)
    endif()
  endif()
  set_tests_properties(${name} PROPERTIES LABELS ${T_LABEL} ENVIRONMENT "${_env}" TIMEOUT 300)
endfunction()
