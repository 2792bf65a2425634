# Skipped tests show as skipped: every test runs through run-reporting-skips.sh, which turns a passing run
# that printed its framework's skip line into exit code 77 (ctest: Skipped) and leaves a failing run failed.
set(KORVANE_SKIP_RUNNER ${CMAKE_CURRENT_LIST_DIR}/run-reporting-skips.sh)
set(KORVANE_GTEST_SKIP "[  SKIPPED ]")
set(KORVANE_QTEST_SKIP "SKIP   :")

# korvane_core_test(NAME src... [LABELS l...]): a GoogleTest executable linked to the core only,
# which is what proves the core needs no GUI.
function(korvane_core_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LABELS;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE korvane_core GTest::gtest GTest::gtest_main GTest::gmock ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  if(NOT ARG_LABELS)
    set(ARG_LABELS core)
  endif()
  add_test(NAME ${name} COMMAND bash ${KORVANE_SKIP_RUNNER} "${KORVANE_GTEST_SKIP}" $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" SKIP_RETURN_CODE 77
    ENVIRONMENT "KORVANE_TEST_BUILD_DIR=${CMAKE_BINARY_DIR};KORVANE_TEST_SOURCE_DIR=${CMAKE_SOURCE_DIR};QT_QPA_PLATFORM=offscreen")
endfunction()

# korvane_ui_test(NAME src... [LABELS l...]): a Qt Test executable on the offscreen platform.
function(korvane_ui_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LABELS;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE korvane_ui korvane_core Qt6::Test ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  if(NOT ARG_LABELS)
    set(ARG_LABELS ui)
  endif()
  add_test(NAME ${name} COMMAND bash ${KORVANE_SKIP_RUNNER} "${KORVANE_QTEST_SKIP}" $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" SKIP_RETURN_CODE 77
    ENVIRONMENT "KORVANE_TEST_BUILD_DIR=${CMAKE_BINARY_DIR};KORVANE_TEST_SOURCE_DIR=${CMAKE_SOURCE_DIR};QT_QPA_PLATFORM=offscreen")
endfunction()
