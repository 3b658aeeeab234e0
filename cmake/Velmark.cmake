# Shared build settings: warnings, sanitizers, and the helper that adds a test.

add_library(velmark_warnings INTERFACE)
target_compile_options(velmark_warnings INTERFACE -Wall -Wextra -Wno-unused-parameter)
target_compile_definitions(velmark_warnings INTERFACE
  QT_DISABLE_DEPRECATED_BEFORE=0x060000)

if(VELMARK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# velmark_add_test(<name> SOURCES ... LIBS ... [LABELS ...] [TIMEOUT s])
# One Qt Test executable per area. The test main (tests/support/TestMain.h) gives each run a fresh
# temporary XDG config and runtime folder and the offscreen platform, and ends a run that skipped
# a test function with 77, which CTest reports as skipped.
function(velmark_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  target_link_libraries(${name} PRIVATE velmark_testsupport Qt6::Test ${T_LIBS} velmark_warnings)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    SKIP_RETURN_CODE 77
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VELMARK_TEST=1")
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
