# Handheld and desktop paths, attributes, listings, open files and file operations.
list(APPEND PLATFORM_SOURCES
  CaseLookup.cpp
  DesktopPath.cpp
  DevicePath.cpp
  File.cpp
  FileSystem.cpp
  FindFile.cpp
  HostFiles.cpp
  MountTable.cpp
  PathName.cpp)

suite_fuzz(platform_device_path_fuzz SOURCES fuzz/device_path_fuzz.cpp DEPS platform)
suite_bench(platform_files_bench SOURCES bench/files_bench.cpp DEPS platform)
