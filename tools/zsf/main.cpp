// zsf: encrypted folders from the command line.
#include <iostream>

#include "folders/strings/FoldersStrings.h"
#include "platform/ConsolePrompt.h"
#include "platform/Module.h"
#include "platform/Registry.h"
#include "platform/Terminal.h"
#include "tools/zsf/ZsfCommand.h"

int main(int argc, char** argv) {
  platform::SetDefaultRegStore(platform::RegStore::Device);
  folders::LoadFoldersLanguage();
  platform::ConsolePrompt prompt;
  zsf::ZsfEnvironment environment;
  environment.prompt = &prompt;
  environment.readSecret = platform::ReadSecret;
  environment.driverFolder = platform::ProgramFolder();
  const int status = zsf::RunZsf(argc, argv, std::cout, std::cerr, environment);
  folders::UnloadFoldersLanguage();
  return status;
}
