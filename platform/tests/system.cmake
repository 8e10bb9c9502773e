# Tests of events, string tables, prompts, power status and process start.
suite_module(test_loc16_module OUTPUT TestLoc16 SOURCES loc16_module.cpp)
suite_module(test_loc8_module OUTPUT TestLoc8 SOURCES loc8_module.cpp)

suite_test(platform_system_tests
  SOURCES
    named_event_test.cpp
    power_test.cpp
    process_test.cpp
    prompt_test.cpp
    string_table_test.cpp
  DEPS platform)
if(TARGET platform_system_tests)
  add_dependencies(platform_system_tests test_loc16_module test_loc8_module test_module_sample)
endif()
