// The pieces of zepscan in this process: option values, the console dialog and the row printer.
#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "scanner/scanrun/ResultList.h"
#include "scanner/scanrun/Scanner.h"
#include "scanner/zepscan/ConsoleDetectionDialog.h"
#include "scanner/zepscan/ConsoleScanView.h"
#include "scanner/zepscan/MainThreadInput.h"
#include "scanner/zepscan/SettingsCommand.h"

namespace zepscan {
namespace {

TEST(SettingsValues, FlagsAreReadAsHexadecimalWithPrefixOrDecimal) {
  EXPECT_EQ(ParseFlagsValue("0x23E1"), 0x23E1u);
  EXPECT_EQ(ParseFlagsValue("0X23e1"), 0x23E1u);
  EXPECT_EQ(ParseFlagsValue("9185"), 9185u);
  EXPECT_EQ(ParseFlagsValue("0xFFFFFFFF"), 0xFFFFFFFFu);
  for (const char* bad : {"", "0x", "23E1", "0x1G", "-1", "0x100000000", "12 ", "x10"})
    EXPECT_FALSE(ParseFlagsValue(bad).has_value()) << bad;
}

TEST(SettingsValues, InfectedFolderGainsOneBackslashAtEachEndOnlyWhereMissing) {
  EXPECT_EQ(FormInfectedPath(u"Infected"), u"\\Infected\\");
  EXPECT_EQ(FormInfectedPath(u"\\Infected"), u"\\Infected\\");
  EXPECT_EQ(FormInfectedPath(u"/Store/Infected/"), u"/Store/Infected/");
  EXPECT_EQ(FormInfectedPath(u"My Stuff\\"), u"\\My Stuff\\");
}

TEST(SettingsValues, FlagNamesFollowTheBitsWithUnnamedBitsInHex) {
  EXPECT_EQ(FlagNames(0x1421),
            "Scan All Files, Scan cards & network folders, Copy to \"Infected\" "
            "folder, Delete");
  EXPECT_EQ(FlagNames(0x80000002), "Scan only programs, 0x80000000");
  EXPECT_EQ(FlagNames(0), "");
}

// Shown: one Show call with the given answer and preset boxes.
struct Shown {
  bool ok;
  bool copy;
  bool del;
  std::string printed;
};

Shown ShowWith(VirusAnswer answer, bool copy, bool del, std::deque<std::string> lines = {}) {
  std::ostringstream messages;
  ConsoleDetectionDialog dialog(
      answer,
      [&lines]() -> std::optional<std::string> {
        if (lines.empty()) return std::nullopt;
        std::string line = lines.front();
        lines.pop_front();
        return line;
      },
      messages);
  const bool ok = dialog.Show(u"File:", u"\\a.exe", u"Virus:", u"Alpha", u"Spreads", copy, del);
  return {ok, copy, del, messages.str()};
}

TEST(ConsoleDialog, FixedAnswersCloseWithOkAndSetBothBoxes) {
  Shown s = ShowWith(VirusAnswer::Report, true, true);
  EXPECT_TRUE(s.ok);
  EXPECT_FALSE(s.copy || s.del);
  s = ShowWith(VirusAnswer::Copy, false, true);
  EXPECT_TRUE(s.copy && !s.del);
  s = ShowWith(VirusAnswer::Delete, true, false);
  EXPECT_TRUE(!s.copy && s.del);
  s = ShowWith(VirusAnswer::CopyAndDelete, false, false);
  EXPECT_TRUE(s.copy && s.del);
  EXPECT_EQ(s.printed,
            "Virus detected!: Quillmark Anti-Virus has detected an infected object:\n"
            "  File: \\a.exe\n  Virus: Alpha\n  Spreads\n");
}

TEST(ConsoleDialog, AskReadsBothBoxesAndEmptyLinesKeepThePresets) {
  Shown s = ShowWith(VirusAnswer::Ask, false, true, {"y", ""});
  EXPECT_TRUE(s.ok);
  EXPECT_TRUE(s.copy && s.del);
  s = ShowWith(VirusAnswer::Ask, true, true, {"maybe", " NO", "n"});
  EXPECT_TRUE(s.ok);
  EXPECT_FALSE(s.copy || s.del);
  EXPECT_NE(s.printed.find("Copy to \"Infected\" folder? [Yes/No] (Yes): "), std::string::npos);
}

TEST(ConsoleDialog, EndOfInputClosesWithoutOkAndKeepsTheConfiguredActions) {
  Shown s = ShowWith(VirusAnswer::Ask, true, false, {"n"});
  EXPECT_FALSE(s.ok);
  EXPECT_TRUE(s.copy);
  EXPECT_FALSE(s.del);
}

TEST(ConsoleDialog, UnansweredClosesWithoutOkAfterShowingTheDetection) {
  for (const bool preset : {false, true}) {
    const Shown s = ShowWith(VirusAnswer::Unanswered, preset, !preset, {"y", "y"});
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.copy, preset);
    EXPECT_EQ(s.del, !preset);
    // Nothing is asked, nothing read.
    EXPECT_EQ(s.printed,
              "Virus detected!: Quillmark Anti-Virus has detected an infected object:\n"
              "  File: \\a.exe\n  Virus: Alpha\n  Spreads\n");
  }
}

TEST(MainThreadInput, LinesAskedByTheWorkerAreReadByTheServingThread) {
  std::FILE* in = std::tmpfile();
  std::fputs("first\nlast", in);
  std::rewind(in);
  MainThreadInput input(in);
  input.Serve();  // nothing asked: returns without reading
  std::vector<std::optional<std::string>> got;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) got.push_back(input.ReadLine());
    done = true;
  });
  while (!done) input.Serve();
  worker.join();
  std::fclose(in);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0], "first");
  EXPECT_EQ(got[1], "last");  // the end of input ends the last line
  EXPECT_EQ(got[2], std::nullopt);
}

TEST(MainThreadInput, CancelReleasesAWaitingWorkerAndRefusesLaterQuestions) {
  MainThreadInput input(nullptr);  // never served
  std::optional<std::string> got = "unset";
  std::thread worker([&] { got = input.ReadLine(); });
  input.Cancel();
  worker.join();
  EXPECT_EQ(got, std::nullopt);
  EXPECT_EQ(input.ReadLine(), std::nullopt);
}

TEST(ConsoleView, RowsArePrintedOnceEachAsTheRunReportsAndStartAfresh) {
  scanner::Scanner s;
  scanner::ResultList list;
  std::ostringstream rows, messages;
  ConsoleScanView view(s, list, rows, messages, ProgressLine::Off);
  view.OnState(scanner::kRunning, scanner::kIdle);
  list.AddRow(u"Started at", u"10:00  01.02.2026");
  view.OnProgress(0x50001, 0);
  list.AddRow(u"\\a.exe", u"Infected with Alpha");
  view.OnProgress(0x10001, 0);
  view.OnProgress(0x10001, 0);
  list.AddRow(u"Finished at", u"10:01  01.02.2026");
  view.OnState(scanner::kIdle, scanner::kRunning);
  EXPECT_EQ(rows.str(),
            "Started at\t10:00  01.02.2026\n\\a.exe\tInfected with Alpha\n"
            "Finished at\t10:01  01.02.2026\n");
  EXPECT_EQ(messages.str(), "");

  // A second run empties the list after its first state message.
  view.OnState(scanner::kRunning, scanner::kIdle);
  list.Clear();
  list.AddRow(u"Started at", u"11:00  01.02.2026");
  view.FlushRows();
  EXPECT_TRUE(
      rows.str().ends_with("Finished at\t10:01  01.02.2026\nStarted at\t11:00  01.02.2026\n"));
}

TEST(ConsoleView, ProgressLineIsRewrittenInPlaceAndErasedForRows) {
  scanner::Scanner s;
  scanner::ResultList list;
  std::ostringstream rows, messages;
  ConsoleScanView view(s, list, rows, messages, ProgressLine::On);
  s.files = 3;
  s.folders = 2;
  view.OnStatusText(u"\\docs\\a.txt");
  EXPECT_EQ(messages.str(), "\rFiles: 3  Folders: 2  Viruses found 0  \\docs\\a.txt\x1b[K");
  messages.str("");
  list.AddRow(u"\\docs\\a.txt", u"Cannot open file.");
  view.OnProgress(0x10063, 0);
  EXPECT_EQ(messages.str().rfind("\r\x1b[K", 0), 0u);
  EXPECT_EQ(rows.str(), "\\docs\\a.txt\tCannot open file.\n");
  view.OnState(scanner::kIdle, scanner::kRunning);
  EXPECT_TRUE(messages.str().ends_with("\r\x1b[K"));
}

}  // namespace
}  // namespace zepscan
