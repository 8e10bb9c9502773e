#include "platform/Prompt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/ConsolePrompt.h"
#include "platform/ScriptedPrompt.h"

namespace platform {
namespace {

TEST(Prompt, DefaultButtonFollowsTheDefaultFlag) {
  EXPECT_EQ(DefaultAnswer(MB_OK), IDOK);
  EXPECT_EQ(DefaultAnswer(MB_YESNO), IDYES);
  EXPECT_EQ(DefaultAnswer(MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(DefaultAnswer(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(DefaultAnswer(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);
  EXPECT_EQ(DefaultAnswer(MB_RETRYCANCEL | MB_ICONWARNING | MB_DEFBUTTON2), IDCANCEL);
  // A default beyond the last button is the first button.
  EXPECT_EQ(DefaultAnswer(MB_OKCANCEL | MB_DEFBUTTON3), IDOK);
  EXPECT_EQ(DefaultAnswer(MB_OK | MB_DEFBUTTON4), IDOK);
}

TEST(Prompt, AffirmativeAndNegativeAnswersBelongToTheSet) {
  for (uint32_t set = MB_OK; set <= MB_CANCELTRYCONTINUE; ++set) {
    const auto b = Buttons(set);
    EXPECT_NE(std::find(b.begin(), b.end(), AffirmativeAnswer(set)), b.end()) << set;
    EXPECT_NE(std::find(b.begin(), b.end(), NegativeAnswer(set)), b.end()) << set;
  }
  EXPECT_EQ(NegativeAnswer(MB_ABORTRETRYIGNORE), IDABORT);
  EXPECT_EQ(AffirmativeAnswer(MB_CANCELTRYCONTINUE), IDCONTINUE);
}

TEST(ScriptedPrompt, AnswersInOrderThenWithTheDefaultButton) {
  ScriptedPrompt p;
  p.Answer({IDNO, IDCANCEL});
  EXPECT_EQ(p.Show("first", "Cap", MB_YESNO), IDNO);
  EXPECT_EQ(p.Show("second", "Cap", MB_YESNOCANCEL), IDCANCEL);
  EXPECT_EQ(p.pending(), 0u);
  EXPECT_EQ(p.Show("third", "Cap", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(p.Show("fourth", "Cap", MB_OKCANCEL), IDOK);
  p.SetDefaultAnswer(IDCANCEL);
  EXPECT_EQ(p.Show("fifth", "Cap", MB_OKCANCEL), IDCANCEL);
  p.SetDefaultAnswer(std::nullopt);
  EXPECT_EQ(p.Show("sixth", "Cap", MB_RETRYCANCEL), IDRETRY);
}

TEST(ScriptedPrompt, RecordsEveryMessageWithIconAndButtonsApart) {
  ScriptedPrompt p;
  p.Answer(IDYES);
  p.Show("Battery power is lower then 20%. Do you want to perform scan?", "Quillmark Anti-Virus",
         MB_YESNO | MB_ICONWARNING);
  p.Show("Cannot open report file.", "Quillmark Anti-Virus", MB_OK | MB_ICONERROR);
  const auto shown = p.shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Battery power is lower then 20%. Do you want to perform scan?");
  EXPECT_EQ(shown[0].caption, "Quillmark Anti-Virus");
  EXPECT_EQ(shown[0].icon, MB_ICONWARNING);
  EXPECT_EQ(shown[0].buttons, MB_YESNO);
  EXPECT_EQ(shown[0].answer, IDYES);
  EXPECT_EQ(shown[1].icon, MB_ICONERROR);
  EXPECT_EQ(shown[1].buttons, MB_OK);
  EXPECT_EQ(shown[1].answer, IDOK);
  EXPECT_EQ(p.last().text, "Cannot open report file.");
  p.Clear();
  EXPECT_EQ(p.count(), 0u);
  EXPECT_EQ(p.last().text, "");
}

TEST(ScriptedPrompt, WideTextsArriveAsUtf8) {
  ScriptedPrompt p;
  Prompt& base = p;
  p.Show(std::u16string_view(u"Файл:\nx"), std::u16string_view(u"Quillmark Coffer"), MB_OK);
  base.Show(std::u16string_view(u"é"), std::u16string_view(u"c"), MB_OK);
  EXPECT_EQ(p.shown()[0].text, "Файл:\nx");
  EXPECT_EQ(p.shown()[0].caption, "Quillmark Coffer");
  EXPECT_EQ(p.shown()[1].text, "é");
}

TEST(ScriptedPrompt, ConcurrentCallersEachTakeOneAnswer) {
  ScriptedPrompt p;
  constexpr int kThreads = 4;
  constexpr int kEach = 200;
  for (int i = 0; i < kThreads * kEach; ++i) p.Answer(i % 2 ? IDNO : IDYES);
  std::vector<std::thread> threads;
  std::vector<int> yes(kThreads, 0);
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i)
        if (p.Show("q", "c", MB_YESNO) == IDYES) ++yes[static_cast<size_t>(t)];
    });
  for (auto& th : threads) th.join();
  EXPECT_EQ(p.count(), static_cast<size_t>(kThreads * kEach));
  EXPECT_EQ(p.pending(), 0u);
  int total = 0;
  for (int y : yes) total += y;
  EXPECT_EQ(total, kThreads * kEach / 2);
}

// Console prompts read from and write to temporary files.
class ConsolePromptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    in_ = std::tmpfile();
    out_ = std::tmpfile();
    ASSERT_TRUE(in_ && out_);
  }
  void TearDown() override {
    if (in_) std::fclose(in_);
    if (out_) std::fclose(out_);
  }
  void Input(const std::string& text) {
    std::fputs(text.c_str(), in_);
    std::rewind(in_);
  }
  std::string Output() {
    std::fflush(out_);
    std::rewind(out_);
    std::string s;
    int c;
    while ((c = std::fgetc(out_)) != EOF) s += static_cast<char>(c);
    return s;
  }
  std::FILE* in_ = nullptr;
  std::FILE* out_ = nullptr;
};

TEST_F(ConsolePromptTest, PrintsCaptionAndTextAndAnswersByPolicy) {
  ConsolePrompt yes(ConsoleAnswers::AlwaysYes, in_, out_);
  EXPECT_EQ(yes.Show("Apply settings?", "Quillmark Anti-Virus", MB_YESNO | MB_ICONQUESTION), IDYES);
  ConsolePrompt no(ConsoleAnswers::AlwaysNo, in_, out_);
  EXPECT_EQ(no.Show("Clear all?", "Setdesk", MB_YESNO | MB_ICONWARNING), IDNO);
  EXPECT_EQ(no.Show("Retry?", "Update", MB_RETRYCANCEL), IDCANCEL);
  ConsolePrompt dflt(ConsoleAnswers::DefaultButton, in_, out_);
  EXPECT_EQ(dflt.Show("Save?", "X", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(Output(),
            "Quillmark Anti-Virus: Apply settings?\n"
            "Setdesk: Clear all?\n"
            "Update: Retry?\n"
            "X: Save?\n");
}

TEST_F(ConsolePromptTest, NoticeWithOkAloneNeverReadsInput) {
  Input("n\n");
  ConsolePrompt p(ConsoleAnswers::Ask, in_, out_);
  EXPECT_EQ(p.Show("Cannot open file.", "Quillmark Anti-Virus", MB_OK | MB_ICONERROR), IDOK);
  EXPECT_EQ(std::ftell(in_), 0);
  EXPECT_EQ(Output(), "Quillmark Anti-Virus: Cannot open file.\n");
}

TEST_F(ConsolePromptTest, AskReadsNamesPrefixesAndEmptyLines) {
  Input("n\n\nYES\nre\n");
  ConsolePrompt p(ConsoleAnswers::Ask, in_, out_);
  EXPECT_EQ(p.Show("q1", "c", MB_YESNO), IDNO);
  EXPECT_EQ(p.Show("q2", "c", MB_YESNO | MB_DEFBUTTON2), IDNO);  // empty line: default
  EXPECT_EQ(p.Show("q3", "c", MB_YESNOCANCEL), IDYES);
  EXPECT_EQ(p.Show("q4", "c", MB_ABORTRETRYIGNORE), IDRETRY);
  EXPECT_NE(Output().find("c: q1\n[Yes/No] (Yes): "), std::string::npos);
}

TEST_F(ConsolePromptTest, AskRepeatsOnUnknownOrAmbiguousReplies) {
  Input("maybe\nc\ncont\n");
  ConsolePrompt p(ConsoleAnswers::Ask, in_, out_);
  EXPECT_EQ(p.Show("q", "c", MB_CANCELTRYCONTINUE), IDCONTINUE);
  const std::string out = Output();
  size_t offers = 0;
  for (size_t at = 0; (at = out.find("[Cancel/Try Again/Continue]", at)) != std::string::npos; ++at)
    ++offers;
  EXPECT_EQ(offers, 3u);
}

TEST_F(ConsolePromptTest, EndOfInputGivesTheNegativeAnswer) {
  ConsolePrompt p(ConsoleAnswers::Ask, in_, out_);
  EXPECT_EQ(p.Show("q", "c", MB_YESNO), IDNO);
  EXPECT_EQ(p.Show("q", "c", MB_OKCANCEL), IDCANCEL);
}

TEST_F(ConsolePromptTest, AutoUsesTheDefaultButtonWhenInputIsNoTerminal) {
  Input("n\n");
  ConsolePrompt p(ConsoleAnswers::Auto, in_, out_);
  EXPECT_EQ(p.Show("q", "c", MB_YESNO), IDYES);
  EXPECT_EQ(std::ftell(in_), 0);
}

}  // namespace
}  // namespace platform
