// The zepscan command line and its dispatch.
#include "scanner/zepscan/ZepscanCommand.h"

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ConsolePrompt.h"
#include "platform/NamedEvent.h"
#include "platform/Registry.h"
#include "platform/Terminal.h"
#include "scanner/scanrun/Scanner.h"
#include "scanner/zepscan/DeviceOptions.h"
#include "scanner/zepscan/ScanCommand.h"
#include "scanner/zepscan/SettingsCommand.h"
#include "scanner/zepscan/StopRequest.h"
#include "scanner/zepscan/UpdateCommand.h"
#include "scanner/zepscan/UrlsCommand.h"

namespace zepscan {
namespace {

constexpr char kNoScanRunning[] = "zepscan: no scan is running\n";

// PauseEventCommand: what `zepscan pause` and `resume` do to a running
// scan's pause event.
enum class PauseEventCommand { Reset, Set };

int ActOnPauseEvent(PauseEventCommand command, std::ostream& out, std::ostream& err) {
  platform::Event event = platform::OpenEvent(scanner::kPauseEventName);
  if (!event.valid()) {
    err << kNoScanRunning;
    return kExitError;
  }
  if (command == PauseEventCommand::Reset) {
    event.Reset();
    out << "paused: the scan stands still before its next object\n";
  } else {
    event.Set();
    out << "resumed\n";
  }
  return kExitClean;
}

int Stop(std::ostream& out, std::ostream& err) {
  if (RequestStop() != 0) {
    err << kNoScanRunning;
    return kExitError;
  }
  out << "stop requested\n";
  return kExitClean;
}

// Questions: how yes/no questions are answered: as the options say, else
// asked on a terminal and answered No otherwise.
platform::ConsoleAnswers Questions(bool yes, bool no) {
  if (yes) return platform::ConsoleAnswers::AlwaysYes;
  if (no) return platform::ConsoleAnswers::AlwaysNo;
  return platform::IsTerminal(platform::StandardStream::Input) ? platform::ConsoleAnswers::Ask
                                                               : platform::ConsoleAnswers::AlwaysNo;
}

}  // namespace

int RunZepscan(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  bool yes = false;
  bool no = false;
  std::string onVirus;
  std::string engine;
  DeviceOptions device;
  std::vector<std::string> assignments;
  UpdateOptions update;
  std::string url;

  CLI::App app{
      "Scans the handheld for viruses with the stored settings.\n"
      "Exit status: 0 clean, 1 something infected, 2 an error or a stop.",
      "zepscan"};
  app.require_subcommand(0, 1);
  app.fallthrough();
  auto* yesFlag = app.add_flag("--yes", yes, "Answer Yes to yes/no questions (low battery)");
  app.add_flag("--no", no, "Answer No to yes/no questions")->excludes(yesFlag);
  app.add_option("--on-virus", onVirus,
                 "Answer every detection: ask, report, copy, delete or "
                 "copy+delete (this run only)")
      ->check(CLI::IsMember({"ask", "report", "copy", "delete", "copy+delete"}));
  app.add_option("--engine", engine,
                 "Matching: index (all signatures in one pass) or reference (each signature "
                 "on its own); both find the same viruses (default " +
                     std::string(scanner::MatchEngineName(scanner::DefaultMatchEngine())) + ")")
      ->check(CLI::IsMember({"index", "reference"}));
  app.add_option("--device-root", device.deviceRoot,
                 "Host folder to scan as the handheld's root (this run only)");
  app.add_option("--card", device.cards,
                 "NAME=DIR: a host folder shown as the storage card NAME (repeatable)")
      ->allow_extra_args(false);

  app.add_subcommand("scan", "Scan with the stored settings (the default)");
  auto* pause = app.add_subcommand("pause", "Pause the scan running in another process");
  auto* resume = app.add_subcommand("resume", "Resume a paused scan");
  auto* stop = app.add_subcommand("stop", "Stop the scan running in another process");
  auto* settings = app.add_subcommand("settings", "Show the settings, or change them with --set");
  settings
      ->add_option("--set", assignments,
                   "NAME=VALUE with NAME one of Flags, Report, Infected, Bases, Mask, Exclude "
                   "(repeatable)")
      ->allow_extra_args(false);

  auto* updateCommand =
      app.add_subcommand("update", "Download a new virus base from the updater's addresses");
  updateCommand
      ->add_option("--pause-ms", update.pauseMs,
                   "Wait before reading each download, in milliseconds (default 5000)")
      ->check(CLI::NonNegativeNumber);
  auto* urls = app.add_subcommand("urls", "Show or change the updater's addresses");
  urls->require_subcommand(1);
  urls->add_subcommand("list", "The addresses, tried in this order");
  auto* urlsAdd = urls->add_subcommand("add", "Add an address at the end (at most ten)");
  urlsAdd->add_option("URL", url, "The base address")->required();
  auto* urlsRemove = urls->add_subcommand("remove", "Remove an address");
  urlsRemove->add_option("URL", url, "The base address")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? kExitClean : kExitError;
  }

  if (pause->parsed()) return ActOnPauseEvent(PauseEventCommand::Reset, out, err);
  if (resume->parsed()) return ActOnPauseEvent(PauseEventCommand::Set, out, err);
  if (stop->parsed()) return Stop(out, err);

  platform::SetDefaultRegStore(platform::RegStore::Device);
  if (ApplyDeviceOptions(device, err) != 0) return kExitError;
  if (updateCommand->parsed()) return RunUpdate(update, out, err);
  if (urls->parsed()) {
    const UrlsAction action = urlsAdd->parsed()      ? UrlsAction::Add
                              : urlsRemove->parsed() ? UrlsAction::Remove
                                                     : UrlsAction::List;
    return RunUrls(action, url, out, err);
  }
  if (settings->parsed()) {
    if (assignments.empty()) return ShowSettings(out);
    platform::ConsolePrompt prompt(Questions(yes, no), stdin, stderr);
    return ChangeSettings(assignments, prompt, out, err);
  }
  ScanOptions options;
  options.questions = Questions(yes, no);
  if (!onVirus.empty()) options.onVirus = ParseVirusAnswer(onVirus);
  options.engine = scanner::ParseMatchEngine(engine);
  return RunScan(options, out, err);
}

}  // namespace zepscan
