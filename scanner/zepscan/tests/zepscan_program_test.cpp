// The zepscan program end to end: a generated handheld, scans, answers, settings, and
// pause, resume and stop from other processes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/ObjectStore.h"
#include "platform/Text.h"
#include "scanner/scanrun/tests/ScanFixture.h"

namespace zepscan {
namespace {

namespace fs = std::filesystem;
using scanner::testing::BaseBytes;
using scanner::testing::kAlphaSignature;
using scanner::testing::kBetaSignature;

constexpr char kProgramFolder[] = "Program Files/ZEP PPC/";
constexpr char kReport[] = "device/My Documents/ZEPReport.txt";

// Ran: what one zepscan process left: its exit status and its two streams.
struct Ran {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Program() {
  const char* bin = std::getenv("SUITE_BIN");
  return bin && *bin ? std::string(bin) + "/zepscan" : std::string(ZEPSCAN_PROGRAM);
}

// Quote: one shell word.
std::string Quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// WaitUntil: polls `done` until it holds or a minute has passed (a bound for
// a broken run, not a timing assertion).
template <typename Done>
bool WaitUntil(Done done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class ZepscanProgram : public scanner::testing::ScanFixture {
 protected:
  void SetUp() override {
    ScanFixture::SetUp();
    MakeFolder("device/My Documents");
    PutBase("device/");
  }

  // PutBase: the signed two-virus base in the program folder of a device
  // root below the home.
  void PutBase(const std::string& root) {
    BaseBytes bytes(2);
    bytes.Record(u"Alpha", kAlphaSignature);
    bytes.Name(u"Beta")
        .Chunk(3, scanner::kChunkHasValue, 7)
        .Signature(kBetaSignature)
        .Description(u"Beta spreads by card")
        .EndRecord();
    const std::vector<uint8_t> base = bytes.Signed();
    Put(root + kProgramFolder + "ZEPBase.zvb", std::string(base.begin(), base.end()));
  }

  // Start: starts zepscan in the background; `name` tells its files apart.
  void Start(const std::string& name, const std::vector<std::string>& args,
             const std::string& environment = "") {
    std::string command = environment + " " + Quote(Program());
    for (const std::string& a : args) command += " " + Quote(a);
    const std::string files = Host("run-" + name);
    command = "(" + command + " >" + Quote(files + ".out") + " 2>" + Quote(files + ".err") +
              " </dev/null; echo $? >" + Quote(files + ".part") + "; mv " + Quote(files + ".part") +
              " " + Quote(files + ".rc") + ") &";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }

  std::string Out(const std::string& name) const { return Read(Host("run-" + name + ".out")); }

  // Finish: waits for the background zepscan `name` and returns what it left.
  Ran Finish(const std::string& name) {
    Ran ran;
    const std::string rc = Host("run-" + name + ".rc");
    if (!WaitUntil([&] { return Exists(rc); })) return ran;
    ran.status = std::stoi(Read(rc));
    ran.out = Out(name);
    ran.err = Read(Host("run-" + name + ".err"));
    return ran;
  }

  // Zepscan: runs zepscan and waits for it.
  Ran Zepscan(const std::vector<std::string>& args, const std::string& environment = "") {
    const std::string name = std::to_string(++runs_);
    Start(name, args, environment);
    return Finish(name);
  }

  void SetFlags(const std::string& flags) {
    const Ran set = Zepscan({"settings", "--set", "Flags=" + flags});
    ASSERT_EQ(set.status, 0) << set.err;
  }

  int runs_ = 0;
};

TEST_F(ZepscanProgram, CleanDeviceEndsWithStatusZeroRowsAndSummary) {
  Device("Docs/a.txt");
  const Ran ran = Zepscan({});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out.rfind("Started at\t", 0), 0u) << ran.out;
  EXPECT_TRUE(Contains(ran.out, "\nFinished at\t")) << ran.out;
  // The base itself and a.txt; the Infected folder is not walked.
  EXPECT_TRUE(Contains(ran.out, "\nScanned:\nFiles: 2\n")) << ran.out;
  EXPECT_TRUE(Contains(ran.out, "\nViruses found 0\n")) << ran.out;
  EXPECT_TRUE(Contains(ran.err, "Quillmark AV - 2 viruses\n")) << ran.err;
  EXPECT_FALSE(Contains(ran.out, "Infected with"));
}

TEST_F(ZepscanProgram, InfectedFileEndsWithStatusOneRowAndReport) {
  Device("My Documents/Bad.bin", Infected());
  const Ran ran = Zepscan({"scan"});
  EXPECT_EQ(ran.status, 1) << ran.err;
  EXPECT_TRUE(Contains(ran.out, "\n\\My Documents\\Bad.bin\tInfected with Alpha\n")) << ran.out;
  const std::string report = Read(Host(kReport));
  EXPECT_TRUE(Contains(report, "\n\\My Documents\\Bad.bin : Infected with Alpha\n")) << report;
  EXPECT_TRUE(Contains(report, "Viruses found 1\n")) << report;
  EXPECT_TRUE(report.ends_with("Errors: 0\n***************************")) << report;
  // Ask User is configured, but without a terminal nobody answers, so the
  // configured actions (none by default) apply.
  EXPECT_TRUE(Exists(DeviceHost("My Documents/Bad.bin")));
  EXPECT_TRUE(Contains(ran.err, "Virus detected!")) << ran.err;
}

TEST_F(ZepscanProgram, ClosedOutputPipeDoesNotCutTheRunShort) {
  for (int i = 0; i < 20; ++i) Device("Docs/f" + std::to_string(i) + ".txt");
  Device("My Documents/Bad.bin", Infected());
  const std::string rc = Host("piped.rc");
  // The reader ends at once, so every row is written into a closed pipe.
  const std::string command =
      "(" + Quote(Program()) + " </dev/null 2>/dev/null; echo $? >" + Quote(rc) + ") | true";
  ASSERT_EQ(std::system(command.c_str()), 0);
  ASSERT_TRUE(WaitUntil([&] { return Exists(rc); }));
  EXPECT_EQ(std::stoi(Read(rc)), 1);
  EXPECT_TRUE(Read(Host(kReport)).ends_with("***************************"));
}

TEST_F(ZepscanProgram, MissingBaseEndsWithStatusTwoAfterTheDiagnosticBox) {
  fs::remove(DeviceHost(std::string(kProgramFolder) + "ZEPBase.zvb"));
  const Ran ran = Zepscan({});
  EXPECT_EQ(ran.status, 2);
  EXPECT_TRUE(Contains(ran.err,
                       "CZEPScannerApp::InitInstance(): CheckSignature returned 2\n"
                       "Scanner.szBasePath == \\program files\\zep ppc\\\n"))
      << ran.err;
  EXPECT_EQ(ran.out, "");
}

TEST_F(ZepscanProgram, LowBatteryQuestionIsAnsweredByTheOptionsAndNoWithoutATerminal) {
  const std::string low = "QM_BATTERY_PERCENT=19";
  const std::string question =
      "Quillmark Anti-Virus: Battery power is lower then 20%. Do you want to perform scan?\n";
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{}, {"--no"}}) {
    const Ran ran = Zepscan(args, low);
    EXPECT_EQ(ran.status, 2);
    EXPECT_TRUE(Contains(ran.err, question)) << ran.err;
    EXPECT_EQ(ran.out, "");
  }
  const Ran ran = Zepscan({"--yes"}, low);
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_TRUE(Contains(ran.err, question)) << ran.err;
  EXPECT_TRUE(Contains(ran.out, "Finished at\t")) << ran.out;
}

TEST_F(ZepscanProgram, UnansweredDialogWithoutATerminalKeepsTheConfiguredCopy) {
  SetFlags("0x2501");  // all files, report, copy, ask user
  const std::string bad = Device("Bad.bin", Infected());
  const Ran ran = Zepscan({});
  EXPECT_EQ(ran.status, 1) << ran.err;
  EXPECT_TRUE(Contains(ran.err, "Virus detected!")) << ran.err;
  EXPECT_TRUE(Exists(bad));
  EXPECT_TRUE(Contains(ran.out, "\nDeleted: 0\nMoved to \"Infected\" 1\n")) << ran.out;
  EXPECT_TRUE(Exists(DeviceHost(std::string(kProgramFolder) + "infected/Bad.bin")));
}

TEST_F(ZepscanProgram, OnVirusDeleteRemovesTheFileForThisRunOnly) {
  SetFlags("0x101");  // all files, report; no dialog, no action
  const std::string bad = Device("Bad.bin", Infected());
  const Ran ran = Zepscan({"--on-virus", "delete"});
  EXPECT_EQ(ran.status, 1) << ran.err;
  EXPECT_FALSE(Exists(bad));
  EXPECT_TRUE(Contains(ran.out, "\nDeleted: 1\n")) << ran.out;
  // The answer did not become a stored option.
  EXPECT_TRUE(Contains(Zepscan({"settings"}).out, "Flags\t0x00000101 (")) << ran.out;
}

TEST_F(ZepscanProgram, OnVirusCopyAndDeleteMovesTheFileIntoTheInfectedFolder) {
  const std::string bad = Device("Bad.bin", Infected());
  const Ran ran = Zepscan({"--on-virus", "copy+delete"});
  EXPECT_EQ(ran.status, 1) << ran.err;
  EXPECT_FALSE(Exists(bad));
  EXPECT_TRUE(Contains(ran.out, "\nDeleted: 1\nMoved to \"Infected\" 1\n")) << ran.out;
  size_t copies = 0;
  for (const auto& entry : fs::recursive_directory_iterator(DeviceHost(kProgramFolder)))
    copies += platform::EqualsIgnoreCase(entry.path().filename().string(), "bad.bin");
  EXPECT_EQ(copies, 1u);
}

TEST_F(ZepscanProgram, CardFolderIsScannedOnlyWithTheCardFlag) {
  Put("card/x.bin", Infected());
  const std::string card = "Storage Card=" + Host("card");
  SetFlags("0x101");
  Ran ran = Zepscan({"--card", card});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_TRUE(Contains(ran.out, "\nCards: 0\n")) << ran.out;

  SetFlags("0x121");
  ran = Zepscan({"--card", card});
  EXPECT_EQ(ran.status, 1) << ran.err;
  EXPECT_TRUE(Contains(ran.out, "\n\\Storage Card\\x.bin\tInfected with Alpha\n")) << ran.out;
  EXPECT_TRUE(Contains(ran.out, "\nCards: 1\n")) << ran.out;
}

TEST_F(ZepscanProgram, DatabaseRecordIsFoundWithTheDatabaseFlag) {
  const platform::CEOID contacts = platform::CreateDatabase(u"Contacts", 0);
  ASSERT_NE(contacts, 0u);
  platform::Database db;
  ASSERT_EQ(db.Open(contacts, 0), 0u);
  platform::PropertyValue blob;
  blob.propid = platform::MakePropId(4, platform::CEVT_BLOB);
  const std::string payload = Infected(kBetaSignature);
  blob.bytes.assign(payload.begin(), payload.end());
  ASSERT_NE(db.WriteRecord(0, std::span(&blob, 1)), 0u);
  db.Close();

  SetFlags("0x101");
  EXPECT_EQ(Zepscan({}).status, 0);
  SetFlags("0x141");
  const Ran ran = Zepscan({});
  EXPECT_EQ(ran.status, 1) << ran.err;
  EXPECT_TRUE(Contains(ran.out, "\nContacts\tInfected with Beta\n")) << ran.out;
  EXPECT_TRUE(Contains(ran.out, "\nDBases: 1\n")) << ran.out;
}

TEST_F(ZepscanProgram, DeviceRootOptionScansAnotherFolderWithItsOwnBase) {
  PutBase("other/");
  Put("other/Docs/Bad.bin", Infected());
  fs::remove(DeviceHost(std::string(kProgramFolder) + "ZEPBase.zvb"));
  EXPECT_EQ(Zepscan({}).status, 2);
  const Ran ran = Zepscan({"--device-root", Host("other")});
  EXPECT_EQ(ran.status, 1) << ran.err;
  EXPECT_TRUE(Contains(ran.out, "\n\\Docs\\Bad.bin\tInfected with Alpha\n")) << ran.out;
  EXPECT_EQ(Zepscan({"--device-root", Host("nowhere")}).status, 2);
  EXPECT_EQ(Zepscan({"--card", "no-folder-given"}).status, 2);
}

TEST_F(ZepscanProgram, SettingsChecksRefuseBadValuesWithTheirMessages) {
  const std::string before = Zepscan({"settings"}).out;
  EXPECT_TRUE(Contains(before,
                       "Flags\t0x000023E1 (Scan All Files, Scan cards & network folders, "
                       "Scan Databases, 0x80, Create report, Append, Ask User)\n"))
      << before;
  EXPECT_TRUE(Contains(before, "Report\t/My Documents/ZEPReport.txt\n")) << before;

  Put("device/Blocker", "a file where a folder should be");
  const struct {
    std::vector<std::string> sets;
    std::string message;
  } refused[] = {
      {{"Flags=0x104"}, "Quillmark Anti-Virus: User mask must not be empty!\n"},
      {{"Flags=0x109", "Exclude=   "}, "Quillmark Anti-Virus: Exclude mask must not be empty!\n"},
      {{"Report=/Missing/r.txt"}, "Quillmark Anti-Virus: Cannot open report file.\n"},
      {{"Infected="},
       "Quillmark Anti-Virus: Path to \"Infected\" forlder is invalid.\nEnter another path.\n"},
      {{"Flags=0x103"}, "exactly one of 0x1, 0x2 and 0x4"},
      {{"Colour=red"}, "unknown setting Colour"},
  };
  for (const auto& r : refused) {
    std::vector<std::string> args = {"settings"};
    for (const std::string& s : r.sets) args.insert(args.end(), {"--set", s});
    const Ran ran = Zepscan(args);
    EXPECT_EQ(ran.status, 2) << r.message;
    EXPECT_TRUE(Contains(ran.err, r.message)) << ran.err;
  }
  EXPECT_EQ(Zepscan({"settings"}).out, before);
}

TEST_F(ZepscanProgram, SettingsChangeIsFormedCheckedAndSaved) {
  const Ran ran = Zepscan({"settings", "--set", "flags=0x4584", "--set", "Infected=Quarantine",
                           "--set", "Mask=  *.exe ", "--set", "Report=\\My Documents\\r.txt"});
  ASSERT_EQ(ran.status, 0) << ran.err;
  // 0x80 and the bits of no page are cleared; Copy made the folder.
  EXPECT_TRUE(Contains(ran.out, "Flags\t0x00000504 (")) << ran.out;
  EXPECT_TRUE(Contains(ran.out, "Infected\t\\Quarantine\\\n")) << ran.out;
  EXPECT_TRUE(fs::is_directory(DeviceHost("Quarantine")));
  const std::string shown = Zepscan({"settings"}).out;
  EXPECT_TRUE(Contains(shown, "Mask\t*.exe\n")) << shown;
  EXPECT_TRUE(Contains(shown, "Report\t\\My Documents\\r.txt\n")) << shown;
  EXPECT_TRUE(Contains(shown, "Infected\t\\quarantine\\\n")) << shown;
}

TEST_F(ZepscanProgram, ImpossibleInfectedFolderSwitchesCopyOffAndTheChangeIsSaved) {
  Put("device/Blocker", "a file where a folder should be");
  const Ran ran =
      Zepscan({"settings", "--set", "Flags=0x501", "--set", "Infected=\\Blocker\\Infected"});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_TRUE(Contains(
      ran.err,
      "Quillmark Anti-Virus: Path to \"Infected\" forlder is invalid.\nEnter another path.\n"))
      << ran.err;
  const std::string shown = Zepscan({"settings"}).out;
  EXPECT_TRUE(Contains(shown, "Flags\t0x00000101 (")) << shown;
  EXPECT_TRUE(Contains(shown, "Infected\t\\blocker\\infected\\\n")) << shown;
}

TEST_F(ZepscanProgram, SecondScanIsRefusedWhileOneRuns) {
  Device("Bad.bin", Infected());
  ASSERT_EQ(Zepscan({"pause"}).status, 0);
  Start("first", {});
  ASSERT_TRUE(WaitUntil([&] { return Contains(Out("first"), "Started at\t"); }));
  const Ran second = Zepscan({});
  EXPECT_EQ(second.status, 2);
  EXPECT_EQ(second.err, "zepscan: a scan is already running\n");
  EXPECT_EQ(second.out, "");
  // A stop now reaches the first scan alone, and nothing cleared it.
  ASSERT_EQ(Zepscan({"stop"}).status, 0);
  const Ran first = Finish("first");
  EXPECT_EQ(first.status, 2) << first.err;
  EXPECT_TRUE(Contains(first.out, "\nFiles: 0\n")) << first.out;
}

TEST_F(ZepscanProgram, StopLeftByAKilledScanDoesNotStopTheNext) {
  Device("Bad.bin", Infected());
  ASSERT_EQ(Zepscan({"pause"}).status, 0);
  const std::string pidFile = Host("killed.pid");
  Start("killed", {}, "sh -c " + Quote("echo $$ >" + Quote(pidFile) + "; exec \"$0\" \"$@\""));
  ASSERT_TRUE(WaitUntil([&] { return Contains(Out("killed"), "Started at\t"); }));
  std::string pid = Read(pidFile);
  while (!pid.empty() && (pid.back() == '\n' || pid.back() == ' ')) pid.pop_back();
  ASSERT_FALSE(pid.empty());
  // Frozen, it cannot see the stop request that comes next; then it dies.
  ASSERT_EQ(std::system(("kill -STOP " + pid).c_str()), 0);
  ASSERT_EQ(Zepscan({"stop"}).status, 0);
  ASSERT_EQ(std::system(("kill -KILL " + pid).c_str()), 0);
  EXPECT_NE(Finish("killed").status, 0);

  ASSERT_EQ(Zepscan({"resume"}).status, 0);
  const Ran ran = Zepscan({});
  EXPECT_EQ(ran.status, 1) << ran.err;
  EXPECT_TRUE(Contains(ran.out, "\n\\Bad.bin\tInfected with Alpha\n")) << ran.out;
}

TEST_F(ZepscanProgram, PausedScanStandsStillUntilAnotherProcessResumesIt) {
  for (int i = 0; i < 5; ++i) Device("f" + std::to_string(i) + ".txt");
  Device("Bad.bin", Infected());
  // This test holds the pause event open, so a second process can reset it
  // before the scanning process opens it.
  ASSERT_EQ(Zepscan({"pause"}).status, 0);
  Start("scan", {});
  ASSERT_TRUE(WaitUntil([&] { return Contains(Out("scan"), "Started at\t"); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(Contains(Out("scan"), "Infected with"));

  const Ran refused = Zepscan({"settings", "--set", "Mask=*.exe"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_TRUE(Contains(refused.err, "Cannot apply settings.\nScanner is running.\n"))
      << refused.err;

  ASSERT_EQ(Zepscan({"resume"}).status, 0);
  const Ran ran = Finish("scan");
  EXPECT_EQ(ran.status, 1) << ran.err;
  EXPECT_TRUE(Contains(ran.out, "\n\\Bad.bin\tInfected with Alpha\n")) << ran.out;
  EXPECT_TRUE(Contains(ran.out, "\nFiles: 7\n")) << ran.out;
}

TEST_F(ZepscanProgram, StopWhilePausedEndsTheScanAndWritesTheReport) {
  Device("Bad.bin", Infected());
  ASSERT_EQ(Zepscan({"pause"}).status, 0);
  Start("scan", {});
  ASSERT_TRUE(WaitUntil([&] { return Contains(Out("scan"), "Started at\t"); }));
  const Ran stop = Zepscan({"stop"});
  EXPECT_EQ(stop.status, 0) << stop.err;
  const Ran ran = Finish("scan");
  EXPECT_EQ(ran.status, 2) << ran.err;  // stopped before anything was found
  EXPECT_TRUE(Contains(ran.out, "\nFinished at\t")) << ran.out;
  EXPECT_TRUE(Contains(ran.out, "\nFiles: 0\n")) << ran.out;
  const std::string report = Read(Host(kReport));
  EXPECT_TRUE(Contains(report, "Finished at : ")) << report;
  EXPECT_TRUE(Contains(report, "Files: 0\n")) << report;
}

TEST_F(ZepscanProgram, BothEnginesFindTheSameVirusesAndOthersAreRefused) {
  Device("My Documents/Bad.bin", Infected());
  Device("My Documents/Worse.bin", "prefix " + Infected(kBetaSignature) + Infected());
  Device("My Documents/Clean.txt", "ALPHA-VIRUS-BODY-");  // one byte short
  for (const char* engine : {"index", "reference"}) {
    const Ran ran = Zepscan({"--engine", engine});
    EXPECT_EQ(ran.status, 1) << engine << ran.err;
    EXPECT_TRUE(Contains(ran.out, "\\My Documents\\Bad.bin\tInfected with Alpha\n")) << ran.out;
    EXPECT_TRUE(Contains(ran.out, "\\My Documents\\Worse.bin\tInfected with Beta\n")) << ran.out;
    EXPECT_TRUE(Contains(ran.out, "\nViruses found 2\n")) << ran.out;
  }
  const Ran refused = Zepscan({"--engine", "fast"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_TRUE(Contains(refused.err, "--engine")) << refused.err;
}

TEST_F(ZepscanProgram, ControlCommandsWithoutAScanEndWithStatusTwo) {
  const std::string elsewhere = "QM_HOME=" + Quote(MakeFolder("elsewhere"));
  for (const char* command : {"pause", "resume", "stop"}) {
    const Ran ran = Zepscan({command}, elsewhere);
    EXPECT_EQ(ran.status, 2) << command;
    EXPECT_EQ(ran.err, "zepscan: no scan is running\n") << command;
  }
  EXPECT_EQ(Zepscan({"--bogus"}).status, 2);
}

}  // namespace
}  // namespace zepscan
