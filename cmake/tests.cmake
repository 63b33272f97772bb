# The test suite: one binary of GoogleTest tests, run through CTest.

if(NOT TOWNGEN_BUILD_TESTS STREQUAL "OFF")
  if(TOWNGEN_GTEST_SOURCE_DIR)
    set(towngen_gtest_found ON)
  else()
    find_package(GTest QUIET)
    set(towngen_gtest_found ${GTest_FOUND})
  endif()
  set(towngen_test_packages libgtest-dev)
  if(towngen_census_built AND NOT CMAKE_CROSSCOMPILING)
    # The tests read towncensus's JSON back with a parser of their own.
    find_package(nlohmann_json 3.10 QUIET)
    if(NOT nlohmann_json_FOUND)
      set(towngen_gtest_found OFF)
    endif()
    list(APPEND towngen_test_packages nlohmann-json3-dev)
  endif()
  list(JOIN towngen_test_packages " " towngen_test_packages)
endif()
towngen_decide(towngen_tests_built "the tests" "${TOWNGEN_BUILD_TESTS}" "${towngen_gtest_found}"
  "${towngen_test_packages}")
if(NOT towngen_tests_built)
  return()
endif()

enable_testing()
if(TOWNGEN_GTEST_SOURCE_DIR)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TOWNGEN_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(towngen_gtest_main gtest_main)
else()
  set(towngen_gtest_main GTest::gtest_main)
endif()
include(GoogleTest)
add_executable(towngen_tests
  tests/common/handoff_test.cc
  tests/common/linked_list_test.cc
  tests/common/random_test.cc
  tests/common/replacing_file_test.cc
  tests/data/magic_item_catalogue_test.cc
  tests/data/magic_item_test.cc
  tests/data/name_list_test.cc
  tests/data/trait_catalogue_test.cc
  tests/driver/command_line_test.cc
  tests/driver/load_report_test.cc
  tests/driver/progress_bar_test.cc
  tests/driver/terminal_console_test.cc
  tests/driver/town_dialogue_test.cc
  tests/driver/whole_number_test.cc
  tests/gamedata/default_data_test.cc
  tests/townsfolk/craft_table_test.cc
  tests/townsfolk/social_class_test.cc
  tests/townsfolk/townsperson_rolls_test.cc
  tests/townsfolk/trait_picks_test.cc
  tests/townsfolk/treasure_gathering_test.cc
  tests/treasure/gem_test.cc
  tests/treasure/treasure_chart_test.cc
  tests/treasure/treasure_generator_test.cc
  tests/town/town_file_writer_test.cc
  tests/town/household_town_test.cc
  tests/town/town_generation_test.cc
  tests/scratch_dir.cc)
target_link_libraries(towngen_tests PRIVATE towngen_command_line ${towngen_gtest_main})
# Under wine, a path of this machine is reached through drive Z:.
set(towngen_host_prefix "")
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(towngen_host_prefix "Z:")
endif()
target_compile_definitions(towngen_tests PRIVATE
  TOWNGEN_GAMEDATA_DIR="${towngen_host_prefix}${PROJECT_SOURCE_DIR}/gamedata"
  TOWNGEN_GOLDEN_DIR="${towngen_host_prefix}${PROJECT_SOURCE_DIR}/tests/golden"
  TOWNGEN_BINARY="$<TARGET_FILE:towngen>")
add_dependencies(towngen_tests towngen)
if(NOT WIN32)
  # These run the built programs under fork, pipes and pseudo-terminals.
  target_sources(towngen_tests PRIVATE
    tests/end_to_end/program_run.cc
    tests/end_to_end/terminal_test.cc
    tests/end_to_end/towngen_faults_test.cc)
  target_link_libraries(towngen_tests PRIVATE util)
endif()
if(towngen_census_built)
  target_sources(towngen_tests PRIVATE
    tests/census/census_test.cc
    tests/census/json_string_test.cc
    tests/census/line_reader_test.cc
    tests/common/number_text_test.cc
    tests/census/record_export_test.cc
    tests/census/tie_check_test.cc
    tests/census/town_file_reader_test.cc
    tests/town/ties_town_test.cc
    tests/driver/towncensus_test.cc
    tests/census/utf8_test.cc
    tests/report/html_text_test.cc
    tests/report/notables_test.cc
    tests/report/report_charts_test.cc
    tests/report/note_text_test.cc
    tests/report/town_notes_test.cc
    tests/report/foundry_journal_test.cc
    tests/report/roster_sample_test.cc
    tests/report/town_report_test.cc)
  target_link_libraries(towngen_tests PRIVATE towngen_towncensus)
  if(NOT CMAKE_CROSSCOMPILING)
    target_link_libraries(towngen_tests PRIVATE nlohmann_json::nlohmann_json)
  else()
    towngen_host_headers(towngen_nlohmann nlohmann)
    target_link_libraries(towngen_tests PRIVATE towngen_nlohmann)
  endif()
  target_compile_definitions(towngen_tests PRIVATE TOWNCENSUS_BINARY="$<TARGET_FILE:towncensus>")
  add_dependencies(towngen_tests towncensus)
  if(NOT WIN32)
    target_sources(towngen_tests PRIVATE
      tests/end_to_end/hostile_input_test.cc
      tests/end_to_end/towncensus_faults_test.cc)
  endif()
endif()
if(CMAKE_CROSSCOMPILING)
  # One test run of the whole suite, through the emulator.
  add_test(NAME towngen_tests COMMAND towngen_tests)
else()
  gtest_discover_tests(towngen_tests DISCOVERY_TIMEOUT 60)
endif()

# The town page in a real browser: Debian's chromium, driven from Node.js by
# playwright-core (installed by ./check into tests/browser); and the notes
# and the Foundry file read by real parsers (installed into tests/exports).
# Each is skipped when what it needs is missing. The page's bytes do not depend on the compiler, so the
# builds that exist to try other compilers and sanitizers leave it out.
option(TOWNGEN_BROWSER_TESTS "test the town page in chromium" ON)
if(towngen_census_built AND TOWNGEN_BROWSER_TESTS AND NOT CMAKE_CROSSCOMPILING)
  find_program(TOWNGEN_NODE node)
  if(TOWNGEN_NODE)
    add_test(NAME TownPage.InBrowser
      COMMAND ${TOWNGEN_NODE} ${PROJECT_SOURCE_DIR}/tests/browser/town_page_test.mjs
        --towngen $<TARGET_FILE:towngen> --towncensus $<TARGET_FILE:towncensus>
        --work ${CMAKE_BINARY_DIR}/browser-test
        --screenshot ${CMAKE_BINARY_DIR}/browser-test/town-report.png)
    # About 100 s on a quiet 2-core machine and 130 s on a busy one: room
    # for a busier one, while a hung browser still ends the test. The longest
    # tests start first (COST), so that the others run beside them.
    set_tests_properties(TownPage.InBrowser PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 COST 1000)
    add_test(NAME Exports.ReadByRealParsers
      COMMAND ${TOWNGEN_NODE} ${PROJECT_SOURCE_DIR}/tests/exports/exports_test.mjs
        --towncensus $<TARGET_FILE:towncensus> --golden ${PROJECT_SOURCE_DIR}/tests/golden
        --macro ${PROJECT_SOURCE_DIR}/docs/foundry-import.js --work ${CMAKE_BINARY_DIR}/exports-test)
    set_tests_properties(Exports.ReadByRealParsers PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 COST 500)
  else()
    message(STATUS "Skipping the browser test of the town page: no Node.js")
  endif()
endif()
