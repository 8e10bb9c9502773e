# Events, string tables, prompts, power status and process start.
find_package(Threads REQUIRED)
list(APPEND PLATFORM_SOURCES
  ConsolePrompt.cpp
  NamedEvent.cpp
  Power.cpp
  Process.cpp
  Prompt.cpp
  ScriptedPrompt.cpp
  StringTable.cpp)
list(APPEND PLATFORM_DEPS Threads::Threads)
