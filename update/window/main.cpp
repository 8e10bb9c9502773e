// Update: fetches the Palm virus-base files, in its progress dialog or as a control-centre task.
#include <QApplication>
#include <cstdlib>

#include "platform/ConsolePrompt.h"
#include "update/app/CommandLine.h"
#include "update/app/HeadlessFrontEnd.h"
#include "update/app/UpdateApp.h"
#include "update/window/QtUpdateFrontEnd.h"

namespace {

bool HasVariable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// DisplayAvailable: whether Qt has somewhere to show windows.
bool DisplayAvailable() {
  return HasVariable("DISPLAY") || HasVariable("WAYLAND_DISPLAY") || HasVariable("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string commandLine = update::JoinCommandLine(argc, argv);
  // A control-centre task runs unattended, maybe where no display exists:
  // its messages then go to standard error instead of waiting for a click.
  if (update::IsControlCentreMode(commandLine) && !DisplayAvailable()) {
    platform::ConsolePrompt prompt(platform::ConsoleAnswers::DefaultButton);
    update::HeadlessFrontEnd frontEnd(prompt);
    return update::RunUpdate(commandLine, frontEnd);
  }
  QApplication app(argc, argv);
  update::QtUpdateFrontEnd frontEnd;
  return update::RunUpdate(commandLine, frontEnd);
}
