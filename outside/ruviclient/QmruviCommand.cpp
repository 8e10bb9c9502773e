// qmruvi: starts Update as a control-centre task and sends it start, stop, pause and resume.
#include "outside/ruviclient/QmruviCommand.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <ostream>
#include <string>
#include <thread>

#include "outside/ruviclient/ControlClient.h"
#include "outside/ruviclient/ControlMessage.h"
#include "platform/Errors.h"
#include "platform/Module.h"
#include "platform/Process.h"

namespace ruviclient {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPollInterval = std::chrono::milliseconds(100);

// kTaskSwitch: what the control centre puts on a task's command line.
constexpr char kTaskSwitch[] = "IPCSERVNAME";

struct Options {
  std::string program;
  bool noStart = false;
  bool wait = false;
  double timeoutSeconds = 10;
  double waitSeconds = 300;
};

bool Answers(const std::string& socket) {
  std::string reply;
  return SendControlRequest(socket, "ping", reply, 2000) == 0 && reply == kReplyReady;
}

// Command: sends one command to the running task and reports its answer.
int Command(ControlRequest request, std::ostream& out, std::ostream& err) {
  std::string reply;
  const uint32_t rc = SendControlRequest(ControlSocketPath(), CommandName(request), reply);
  if (rc == platform::ERROR_FILE_NOT_FOUND) {
    err << "qmruvi: no task is running (" << ControlSocketPath() << ")\n";
    return 1;
  }
  if (rc != 0) {
    err << "qmruvi: " << CommandName(request) << " failed: " << rc << " ("
        << platform::ErrorText(rc) << ")\n";
    return 1;
  }
  if (reply == kReplyNoCallback) {
    err << "qmruvi: the task takes no " << CommandName(request) << " command\n";
    return 1;
  }
  out << CommandName(request) << ": " << reply << (reply == "1" ? " (done)" : " (refused)") << '\n';
  return reply == "1" ? 0 : 1;
}

int Task(const Options& o, std::ostream& out, std::ostream& err) {
  const std::string socket = ControlSocketPath();
  if (Answers(socket)) {
    err << "qmruvi: a task is already running (" << socket << ")\n";
    return 1;
  }
  const std::string program = o.program.empty() ? platform::ProgramFolder() + "/Update" : o.program;
  const std::string folder = program.find('/') == std::string::npos
                                 ? std::string()
                                 : program.substr(0, program.rfind('/'));
  if (const uint32_t rc = platform::StartProcess(program, folder, {kTaskSwitch})) {
    err << "qmruvi: cannot start " << program << ": " << rc << " (" << platform::ErrorText(rc)
        << ")\n";
    return 1;
  }
  out << "started " << program << ' ' << kTaskSwitch << '\n';
  const auto limit = Clock::now() + std::chrono::duration<double>(o.timeoutSeconds);
  while (!Answers(socket)) {
    if (Clock::now() >= limit) {
      err << "qmruvi: the task did not reach the control centre within " << o.timeoutSeconds
          << " s\n";
      return 1;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  int status = 0;
  if (!o.noStart) status = Command(ControlRequest::Start, out, err);
  if (o.wait) {
    const auto end = Clock::now() + std::chrono::duration<double>(o.waitSeconds);
    while (Answers(socket)) {
      if (Clock::now() >= end) {
        err << "qmruvi: the task still runs after " << o.waitSeconds << " s\n";
        return 1;
      }
      std::this_thread::sleep_for(kPollInterval);
    }
    out << "task ended\n";
  }
  return status;
}

}  // namespace

int RunQmruvi(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  Options o;
  CLI::App app{"A small control centre: starts the downloader as a task and commands it.",
               "qmruvi"};
  app.require_subcommand(1);
  auto* task = app.add_subcommand("task", "Start Update with IPCSERVNAME and send it start");
  task->add_option("--program", o.program, "The downloader (default: Update beside qmruvi)");
  task->add_flag("--no-start", o.noStart, "Do not send start (the task starts by itself later)");
  task->add_flag("--wait", o.wait, "Wait until the task has ended");
  task->add_option("--timeout", o.timeoutSeconds, "Seconds to wait for the task to listen")
      ->check(CLI::PositiveNumber);
  task->add_option("--wait-limit", o.waitSeconds, "Seconds --wait waits at most")
      ->check(CLI::PositiveNumber);
  auto* start = app.add_subcommand("start", "Send start (1) to the running task");
  auto* stop = app.add_subcommand("stop", "Send stop (2): the fetch ends");
  auto* pause = app.add_subcommand("pause", "Send pause (3): the fetch waits");
  auto* resume = app.add_subcommand("resume", "Send resume (4): the fetch goes on");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? 0 : 1;
  }
  if (task->parsed()) return Task(o, out, err);
  if (start->parsed()) return Command(ControlRequest::Start, out, err);
  if (stop->parsed()) return Command(ControlRequest::Stop, out, err);
  if (pause->parsed()) return Command(ControlRequest::Pause, out, err);
  if (resume->parsed()) return Command(ControlRequest::Resume, out, err);
  return 1;
}

}  // namespace ruviclient
