// zepscan update and urls end to end against an HTTP server on 127.0.0.1, and the console view.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "scanner/updater/tests/UpdaterFixture.h"
#include "scanner/zepscan/ConsoleDownloadView.h"
#include "scanner/zepscan/StopRequest.h"

namespace zepscan {
namespace {

using scanner::testing::HttpReply;

constexpr char kOldBase[] = "the old base";
constexpr char kCannotDownload[] =
    "Quillmark Anti-Virus: Cannot download new anti-virus database.\n";

std::string Program() {
  const char* bin = std::getenv("SUITE_BIN");
  return bin && *bin ? std::string(bin) + "/zepscan" : std::string(ZEPSCAN_PROGRAM);
}

std::string Quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// WaitUntil: polls until `done` holds or a minute has passed (a bound for a
// broken run, not a timing assertion).
template <typename Done>
bool WaitUntil(Done done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

struct Ran {
  int status = -1;
  std::string out;
  std::string err;
};

class ZepscanUpdate : public scanner::testing::UpdaterFixture {
 protected:
  void SetUp() override {
    UpdaterFixture::SetUp();
    Put("device/Bases/ZEPBase.zvb", kOldBase);
  }

  // Start: zepscan in the background, its process id in "<name>.pid".
  void Start(const std::string& name, const std::vector<std::string>& args) {
    std::string command = Quote(Program());
    for (const std::string& a : args) command += " " + Quote(a);
    const std::string f = Host(name);
    command = "(" + command + " >" + Quote(f + ".out") + " 2>" + Quote(f + ".err") +
              " </dev/null & echo $! >" + Quote(f + ".pid") + "; wait $!; echo $? >" +
              Quote(f + ".part") + "; mv " + Quote(f + ".part") + " " + Quote(f + ".rc") + ") &";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_TRUE(WaitUntil([&] { return !Read(f + ".pid").empty(); }));
  }
  Ran Finish(const std::string& name) {
    Ran ran;
    const std::string f = Host(name);
    if (!WaitUntil([&] { return Exists(f + ".rc"); })) return ran;
    ran.status = std::stoi(Read(f + ".rc"));
    ran.out = Read(f + ".out");
    ran.err = Read(f + ".err");
    return ran;
  }
  Ran Zepscan(const std::vector<std::string>& args) {
    const std::string name = "run" + std::to_string(++runs_);
    Start(name, args);
    return Finish(name);
  }
  void Interrupt(const std::string& name) {
    const std::string command = "kill -INT " + Read(Host(name + ".pid"));
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  void AddUrl(const std::string& url) {
    const Ran ran = Zepscan({"urls", "add", url});
    ASSERT_EQ(ran.status, 0) << ran.err;
  }

  int runs_ = 0;
};

TEST_F(ZepscanUpdate, UpdateReplacesTheBaseAndSaysWhere) {
  server_.Serve("/bases/ZEPBase.zvb", HttpReply(GoodBase()));
  AddUrl(server_.Url("/bases"));
  const Ran ran = Zepscan({"update", "--pause-ms", "0"});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out, "updated: \\Bases\\ZEPBase.zvb\n");
  EXPECT_TRUE(Contains(ran.err, "Downloading: " + server_.Url("/bases/") + "\n")) << ran.err;
  EXPECT_EQ(Read(Bases()), GoodBase());
  EXPECT_TRUE(NoLeftovers());
}

TEST_F(ZepscanUpdate, FailedUpdateShowsMessage123AndExitsTwo) {
  server_.Serve("/ZEPBase.zvb", HttpReply(BadBase()));
  AddUrl(server_.Url("/"));
  const Ran ran = Zepscan({"update", "--pause-ms", "0"});
  EXPECT_EQ(ran.status, 2);
  EXPECT_TRUE(Contains(ran.err, "GetUpdate: Signature INVALID\n")) << ran.err;
  EXPECT_TRUE(Contains(ran.err, kCannotDownload)) << ran.err;
  EXPECT_TRUE(Contains(ran.err, "(result 5)")) << ran.err;
  EXPECT_EQ(ran.out, "");
  EXPECT_EQ(Read(Bases()), kOldBase);
}

TEST_F(ZepscanUpdate, UpdateIsRefusedWhileAScanRuns) {
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase()));
  AddUrl(server_.Url("/"));
  StopRequest scan;  // what a running scan holds
  ASSERT_EQ(scan.Create(), 0u);
  const Ran ran = Zepscan({"update", "--pause-ms", "0"});
  EXPECT_EQ(ran.status, 2);
  EXPECT_TRUE(
      Contains(ran.err, "Quillmark Anti-Virus: Scanner is running.Cannot update database.\n"))
      << ran.err;
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(ZepscanUpdate, FirstInterruptCancelsBeforeTheNextAddress) {
  server_.Serve("/a/ZEPBase.zvb", HttpReply("<HTML>busy</HTML>").HeaderDelay(1500));
  server_.Serve("/b/ZEPBase.zvb", HttpReply(GoodBase()));
  AddUrl(server_.Url("/a/"));
  AddUrl(server_.Url("/b/"));
  Start("cancel", {"update", "--pause-ms", "0"});
  ASSERT_TRUE(WaitUntil([&] { return !server_.Requests().empty(); }));
  Interrupt("cancel");
  const Ran ran = Finish("cancel");
  EXPECT_EQ(ran.status, 2);
  EXPECT_TRUE(Contains(ran.err, "Cancelling...")) << ran.err;
  EXPECT_TRUE(Contains(ran.err, kCannotDownload)) << ran.err;
  EXPECT_TRUE(Contains(ran.err, "(result 3)")) << ran.err;
  EXPECT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(Read(Bases()), kOldBase);
}

TEST_F(ZepscanUpdate, SecondInterruptAbortsTheTransferAtOnce) {
  // Twenty seconds of body unless something ends it.
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase(100 * 1024)).Pieces(1024, 200));
  AddUrl(server_.Url("/"));
  Start("abort", {"update", "--pause-ms", "0"});
  ASSERT_TRUE(WaitUntil([&] { return Exists(Bases("tempfile.dat")); }));
  Interrupt("abort");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  Interrupt("abort");
  const auto start = std::chrono::steady_clock::now();
  const Ran ran = Finish("abort");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
  EXPECT_EQ(ran.status, 2);
  EXPECT_TRUE(Contains(ran.err, kCannotDownload)) << ran.err;
  EXPECT_EQ(Read(Bases()), kOldBase);
  EXPECT_TRUE(NoLeftovers());
}

TEST_F(ZepscanUpdate, UrlsFollowTheDialogRules) {
  AddUrl("http://a.example/bases");
  AddUrl("http://b.example/");
  Ran ran = Zepscan({"urls", "add", "HTTP://A.EXAMPLE/BASES/"});
  EXPECT_EQ(ran.status, 2);
  EXPECT_EQ(ran.err, "Error!: Duplicate Url!\n");
  ran = Zepscan({"urls", "list"});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out, "http://a.example/bases/\nhttp://b.example/\n");

  ran = Zepscan({"urls", "remove", "http://A.example/bases"});
  EXPECT_EQ(ran.status, 0) << ran.err;
  ran = Zepscan({"urls", "remove", "http://gone.example/"});
  EXPECT_EQ(ran.status, 2);
  EXPECT_EQ(ran.err, "zepscan: no such address: http://gone.example/\n");
  EXPECT_EQ(Zepscan({"urls", "list"}).out, "http://b.example/\n");

  for (int i = 0; i < 9; ++i) AddUrl("http://m" + std::to_string(i) + ".example/");
  ran = Zepscan({"urls", "add", "http://eleven.example/"});
  EXPECT_EQ(ran.status, 2);
  EXPECT_EQ(ran.err, "Error!: Too many Urls\n");
}

TEST(ConsoleDownloadView, WithoutATerminalEachTitleAndAddressGetsALine) {
  std::ostringstream messages;
  ConsoleDownloadView view(messages, ProgressLine::Off);
  view.SetTitle(u"Downloading");
  view.OnStatusText(u"http://a/");
  view.OnProgressRange(0, 10);
  view.OnProgressAdvance(2);
  view.SetTitle(u"Cancelling...");
  EXPECT_EQ(messages.str(), "Downloading\nDownloading: http://a/\nCancelling...: http://a/\n");
}

TEST(ConsoleDownloadView, BarFollowsTheWorkerWithinItsRange) {
  std::ostringstream messages;
  ConsoleDownloadView view(messages, ProgressLine::On);
  view.SetTitle(u"Downloading");
  view.OnProgressRange(0, 10);
  for (int i = 0; i < 4; ++i) view.OnProgressAdvance(2);
  EXPECT_EQ(view.Bar(), "[########..]");
  for (int i = 0; i < 4; ++i) view.OnProgressAdvance(2);  // a later attempt, as the bar clamps
  EXPECT_EQ(view.Bar(), "[##########]");
  view.OnProgressPos(0);
  EXPECT_EQ(view.Bar(), "[..........]");
  EXPECT_TRUE(Contains(messages.str(), "\rDownloading [##........] \x1b[K")) << messages.str();
  view.Close();
  EXPECT_TRUE(view.closed());
  EXPECT_TRUE(messages.str().ends_with("\r\x1b[K"));
}

}  // namespace
}  // namespace zepscan
