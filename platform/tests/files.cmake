suite_test(platform_files_tests
  SOURCES
    device_path_test.cpp
    desktop_path_test.cpp
    file_system_test.cpp
    file_test.cpp
    find_file_test.cpp
    path_name_test.cpp
  DEPS platform)
