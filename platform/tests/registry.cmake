# The registry tests (Win32 semantics, RegKey, stores, several processes).
suite_test(platform_registry_tests
  SOURCES
    registry_api_test.cpp
    registry_enum_test.cpp
    registry_key_test.cpp
    registry_process_test.cpp
    registry_store_test.cpp
    registry_test_support.cpp
  DEPS platform)
suite_bench(platform_registry_bench SOURCES registry_bench.cpp DEPS platform)
