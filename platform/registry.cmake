# The registry stores (SQLite) and their Win32 and C++ interfaces.
find_package(SQLite3 REQUIRED)
list(APPEND PLATFORM_SOURCES
  RegKey.cpp
  RegPath.cpp
  RegText.cpp
  RegTransaction.cpp
  Registry.cpp
  RegistryStore.cpp)
list(APPEND PLATFORM_DEPS SQLite::SQLite3)
