// FetchLoop and FetchFile against a real HTTP server on 127.0.0.1.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/ScriptedPrompt.h"
#include "update/app/TextDialogView.h"
#include "update/fetch/FetchFile.h"
#include "update/fetch/FetchLoop.h"
#include "update/fetch/FetchPaths.h"
#include "update/fetch/FetchThread.h"
#include "update/tests/UpdateTest.h"

namespace update {
namespace {

using namespace std::chrono_literals;
using platform::testing::HttpReply;

constexpr char kErrorPage[] = "<HTML><BODY>404 Not Found</BODY></HTML>";

// Reports: what the control centre heard, as "a b" lines.
std::vector<std::string> g_reports;
std::mutex g_reportsMutex;
int RecordReport(int a, int b) {
  std::lock_guard<std::mutex> lock(g_reportsMutex);
  g_reports.push_back(std::to_string(a) + " " + std::to_string(b));
  return 1;
}

class FetchTest : public testing::UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    g_reports.clear();
  }
  FetchContext Context(FetchControl* control = nullptr) {
    return FetchContext{prompt_, RecordReport, control, {2000, 2000}};
  }
  void ServeErrorPagesFor(const std::string& path) {
    server_.Serve(path, HttpReply(kErrorPage, 404).ContentType("text/html"));
  }
  platform::ScriptedPrompt prompt_;
};

TEST_F(FetchTest, EveryAddressIsTriedForEveryFileAndALaterCopyWins) {
  const std::string first = Body(1500, 'a'), second = Body(700, 'b'), firstAgain = Body(900, 'c');
  server_.Serve("/one/ZEPDB.pdb", HttpReply(first));
  ServeErrorPagesFor("/one/ZEPVE.pdb");
  server_.Serve("/two/ZEPDB.pdb", HttpReply(firstAgain));
  server_.Serve("/two/ZEPVE.pdb", HttpReply(second));
  Configure({server_.Url("/one"), server_.Url("/two")}, {"ZEPDB.pdb", "ZEPVE.pdb"});
  testing::UpdateTest::SetTasksKey(true);
  ASSERT_EQ(record_.Load(), 0);
  TextDialogView view;
  record_.progressWindow = &view;
  record_.statusWindow = &view;

  EXPECT_EQ(FetchLoop(record_, Context()), 0);

  EXPECT_EQ(Requested("/one/ZEPDB.pdb"), 1u);
  EXPECT_EQ(Requested("/two/ZEPDB.pdb"), 1u);
  EXPECT_EQ(Requested("/one/ZEPVE.pdb"), 1u);
  EXPECT_EQ(Requested("/two/ZEPVE.pdb"), 1u);
  EXPECT_EQ(record_.fileList->received, 1);
  EXPECT_EQ(record_.fileList->next->received, 1);
  // Staged in Download, the later copy of the first file in place, no leftovers.
  EXPECT_EQ(Read(Staged("ZEPDB.pdb")), firstAgain);
  EXPECT_EQ(Read(Staged("ZEPVE.pdb")), second);
  EXPECT_FALSE(Exists(Current("ZEPDB.pdb")));
  EXPECT_FALSE(Exists(Staged("ZEPDB.pdb.tmp")));
  EXPECT_FALSE(Exists(Staged("ZEPVE.pdb.tmp")));
  EXPECT_EQ(view.statusTexts(),
            (std::vector<std::string>{"Updating...", server_.Url("/one"), server_.Url("/two")}));
  // Range 0-10 with the position kept: 8 after the first file, then full.
  EXPECT_EQ(view.progress().high(), 10);
  EXPECT_EQ(view.progress().position(), 10);
  const std::vector<std::string> oneFile = {"6 0", "6 20", "1 40", "1 80", "2 0"};
  ASSERT_EQ(g_reports.size(), 4 * oneFile.size());
  EXPECT_EQ(std::vector<std::string>(g_reports.begin(), g_reports.begin() + 5), oneFile);
}

TEST_F(FetchTest, AnErrorPageNeitherReplacesTheTargetNorLeavesItsTemporaryFile) {
  ServeErrorPagesFor("/u/ZEPDB.pdb");
  Configure({server_.Url("/u")}, {"ZEPDB.pdb"});
  std::filesystem::create_directories(Staged(""));
  home_.Write("drive_c/ZEPP/LastUpdate/Download/ZEPDB.pdb", "the copy from before");
  const FetchPaths paths{server_.Url("/u/ZEPDB.pdb"), "C:\\ZEPP\\LastUpdate\\Download\\ZEPDB.pdb",
                         "C:\\ZEPP\\LastUpdate\\Download\\ZEPDB.pdb.tmp"};

  EXPECT_EQ(FetchFile(paths.source, paths.target, paths.temporary, record_, Context()),
            kFetchErrorPage);
  EXPECT_EQ(Read(Staged("ZEPDB.pdb")), "the copy from before");
  EXPECT_FALSE(Exists(Staged("ZEPDB.pdb.tmp")));
  FetchLoop(record_, Context());
  EXPECT_EQ(record_.fileList->received, 0);
  EXPECT_TRUE(g_reports.empty()) << "no Tasks key: the control centre hears nothing";
}

TEST_F(FetchTest, AnErrorStatusIsAnErrorPageWhateverItsText) {
  // The server's own 404 says "Not Found", without the marker.
  server_.Serve("/e/ZEPVE.pdb", HttpReply("Internal trouble", 500));
  Configure({server_.Url("/e")}, {"ZEPDB.pdb", "ZEPVE.pdb"});
  FetchLoop(record_, Context());
  EXPECT_EQ(record_.fileList->received, 0);
  EXPECT_EQ(record_.fileList->next->received, 0);
  EXPECT_FALSE(Exists(Staged("ZEPDB.pdb")));
  EXPECT_FALSE(Exists(Staged("ZEPVE.pdb")));
  EXPECT_FALSE(Exists(Staged("ZEPDB.pdb.tmp")));
}

TEST_F(FetchTest, BodiesArriveWholeAtEveryLengthAroundThePieceSize) {
  for (size_t size : {0, 1, 1023, 1024, 1025, 3072, 3073}) {
    SCOPED_TRACE(size);
    const std::string body = Body(size);
    server_.Serve("/s/F.bin", HttpReply(body).Pieces(300));
    Configure({server_.Url("/s")}, {"F.bin"});
    FetchLoop(record_, Context());
    EXPECT_EQ(record_.fileList->received, 1);
    EXPECT_EQ(Read(Staged("F.bin")), body);
  }
}

TEST_F(FetchTest, TheMarkerCountsOnlyBeforeAPiecesFirstZeroByte) {
  std::string hidden = Body(100) + std::string(1, '\0') + "HTML";
  std::string late = Body(1024) + "<HTML>";  // in the second piece
  server_.Serve("/m/hidden", HttpReply(hidden));
  server_.Serve("/m/late", HttpReply(late));
  Configure({server_.Url("/m")}, {"hidden", "late"});
  FetchLoop(record_, Context());
  EXPECT_EQ(record_.fileList->received, 1);
  EXPECT_EQ(Read(Staged("hidden")), hidden);
  EXPECT_EQ(record_.fileList->next->received, 0);
  EXPECT_FALSE(Exists(Staged("late")));
  EXPECT_FALSE(Exists(Staged("late.tmp")));
}

TEST_F(FetchTest, FailuresBeforeWritingReportEightAndLeaveNothing) {
  const std::string refused =
      "http://127.0.0.1:" + std::to_string(platform::testing::HttpTestServer::UnusedPort());
  Configure({refused}, {"ZEPDB.pdb"});
  testing::UpdateTest::SetTasksKey(true);
  ASSERT_EQ(record_.Load(), 0);
  EXPECT_EQ(FetchFile(refused + "/ZEPDB.pdb", "C:\\ZEPP\\x", "C:\\ZEPP\\x.tmp", record_, Context()),
            kFetchNoAddress);
  EXPECT_EQ(g_reports, (std::vector<std::string>{"6 0", "6 20", "8 0"}));
  g_reports.clear();
  server_.Serve("/f", HttpReply("data"));
  EXPECT_EQ(
      FetchFile(server_.Url("/f"), "C:\\ZEPP\\no\\x", "C:\\ZEPP\\no\\x.tmp", record_, Context()),
      kFetchNoTempFile);
  EXPECT_EQ(g_reports, (std::vector<std::string>{"6 0", "6 20", "1 40", "8 0"}));
}

TEST_F(FetchTest, ACutAnswerIsAFailureAndNeverReplacesTheTarget) {
  HttpReply cut(Body(5000));
  cut.DropAfter(2500);
  server_.Serve("/c/ZEPDB.pdb", cut);
  Configure({server_.Url("/c")}, {"ZEPDB.pdb"});
  std::filesystem::create_directories(Staged(""));
  home_.Write("drive_c/ZEPP/LastUpdate/Download/ZEPDB.pdb", "whole old file");
  FetchLoop(record_, Context());
  EXPECT_EQ(record_.fileList->received, 0);
  EXPECT_EQ(Read(Staged("ZEPDB.pdb")), "whole old file");
  EXPECT_FALSE(Exists(Staged("ZEPDB.pdb.tmp")));
}

TEST_F(FetchTest, ATargetThatCannotBeReplacedShowsTheCopyMessageAndKeepsTheTemporaryFile) {
  server_.Serve("/t/ZEPDB.pdb", HttpReply("fresh"));
  Configure({server_.Url("/t")}, {"ZEPDB.pdb"});
  std::filesystem::create_directories(Staged("ZEPDB.pdb"));  // a folder where the file goes
  FetchLoop(record_, Context());
  EXPECT_EQ(record_.fileList->received, 0);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Cannot copy temp file!");
  EXPECT_EQ(prompt_.last().caption, "GetUpdate()");
  EXPECT_EQ(prompt_.last().icon, platform::MB_ICONERROR);
  EXPECT_EQ(Read(Staged("ZEPDB.pdb.tmp")), "fresh");
}

TEST_F(FetchTest, NamesThatLeaveTheFolderOrOverrunTheFieldsAreNeverFetched) {
  const std::string longName(255 - std::string("C:\\ZEPP\\LastUpdate\\Download\\.tmp").size() + 1,
                             'n');
  Configure({server_.Url("/n")}, {"..", "a\\b", "c:d", "../up", longName});
  FetchLoop(record_, Context());
  EXPECT_TRUE(server_.Requests().empty());
  for (const auto* f = record_.fileList; f; f = f->next) EXPECT_EQ(f->received, 0);

  FetchPaths paths;
  const std::string fits = longName.substr(1);
  EXPECT_TRUE(FormFetchPaths("http://h", "C:\\ZEPP\\LastUpdate\\Download", fits, paths));
  EXPECT_EQ(paths.temporary.size(), 255u);
  EXPECT_EQ(paths.source, "http://h/" + fits);
  EXPECT_FALSE(FormFetchPaths("http://h", "C:\\ZEPP\\LastUpdate\\Download", longName, paths));
  EXPECT_TRUE(FormFetchPaths(std::string(250, 'h'), "C:\\F", "name", paths));
  EXPECT_FALSE(FormFetchPaths(std::string(251, 'h'), "C:\\F", "name", paths));
  EXPECT_FALSE(FormFetchPaths("http://h", "", "name", paths));
}

TEST_F(FetchTest, AStoppedFetchEndsPromptlyAndAPausedOneWaitsForResume) {
  HttpReply slow(Body(64 * 1024));
  slow.Pieces(1024, 40);
  server_.Serve("/p/ZEPDB.pdb", slow);
  server_.Serve("/p/ZEPVE.pdb", HttpReply("small"));
  Configure({server_.Url("/p")}, {"ZEPDB.pdb", "ZEPVE.pdb"});

  FetchThread paused;
  paused.control().Pause();
  ASSERT_TRUE(paused.Start(record_, Context()));
  EXPECT_FALSE(paused.WaitEnded(300));
  EXPECT_FALSE(Exists(Staged("ZEPDB.pdb")));
  paused.control().Resume();
  ASSERT_TRUE(paused.WaitEnded(20000));
  paused.Finish();
  EXPECT_EQ(record_.fileList->received, 1);
  EXPECT_EQ(record_.fileList->next->received, 1);

  std::filesystem::remove_all(Staged(""));
  FetchThread stopped;
  ASSERT_TRUE(stopped.Start(record_, Context()));
  while (!Exists(Staged("ZEPDB.pdb.tmp"))) std::this_thread::sleep_for(5ms);
  const auto start = std::chrono::steady_clock::now();
  stopped.control().Cancel();
  EXPECT_TRUE(stopped.WaitEnded(5000));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  stopped.Finish();
  EXPECT_EQ(record_.fileList->received, 0);
  EXPECT_EQ(record_.fileList->next->received, 0) << "the loop stops; the marks start cleared";
  EXPECT_FALSE(Exists(Staged("ZEPDB.pdb")));
  EXPECT_FALSE(Exists(Staged("ZEPDB.pdb.tmp")));
  EXPECT_EQ(Requested("/p/ZEPVE.pdb"), 1u);
}

}  // namespace
}  // namespace update
