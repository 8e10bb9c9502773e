// ApplyLayout over a fake window: the page's rules, clamping, batches, messages.
#include "configobject/layout/Layout.h"

#include <gtest/gtest.h>

#include "configobject/layout/tests/FakeWindow.h"
#include "platform/ScriptedPrompt.h"

namespace layout {
namespace {

using test::FakeWindow;
using test::Move;

constexpr LayoutRule kEnd = {kEndOfRules, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// The configuration page's table: control 1213 follows the right and bottom edges.
std::vector<LayoutRule> PageRules() {
  return {{kStretch, kRight, 1213, 0, kRight, kLaidOutWindowId, 0, 0, 0, 0},
          {kStretch, kBottom, 1213, 0, kBottom, kLaidOutWindowId, 0, 0, 0, 0},
          kEnd};
}

// A page whose tree control fills it with 10 pixels to spare on each side.
FakeWindow Page() {
  FakeWindow w;
  w.client = {0, 0, 300, 200};
  w.children = {{1213, {10, 10, 290, 190}}, {1, {5, 195, 25, 199}}};
  return w;
}

TEST(ApplyLayout, EnlargingMovesOnlyTheRightAndBottomEdges) {
  FakeWindow w = Page();
  platform::ScriptedPrompt prompt;
  auto rules = PageRules();
  // The table keeps the control's edges on the window's; first bring them there.
  w.children[0].rect = {10, 10, 300, 200};
  w.client = {0, 0, 340, 230};
  ASSERT_TRUE(ApplyLayout(w, prompt, rules.data()));
  EXPECT_EQ(prompt.count(), 0u);
  EXPECT_EQ(w.batches, 1);
  ASSERT_EQ(w.moves.size(), 1u);
  EXPECT_EQ(w.moves[0],
            (Move{0, 10, 10, 330, 220}));  // right +40, bottom +30, width and height grow
  EXPECT_EQ(w.invalidated, std::vector<int>{0});
  EXPECT_EQ(rules[0].done, 1);
  EXPECT_EQ(rules[1].done, 1);
}

TEST(ApplyLayout, AChildNoRuleNamesIsNeitherMovedNorRepainted) {
  FakeWindow w = Page();
  platform::ScriptedPrompt prompt;
  auto rules = PageRules();
  ASSERT_TRUE(ApplyLayout(w, prompt, rules.data()));
  for (const Move& m : w.moves) EXPECT_NE(m.index, 1);
  for (int i : w.invalidated) EXPECT_NE(i, 1);
  EXPECT_EQ(w.children[1].rect.left, 5);
  EXPECT_EQ(w.children[1].rect.bottom, 199);
}

TEST(ApplyLayout, ShrinkingBelowTheLeftAndTopEdgesClampsToZero) {
  FakeWindow w = Page();
  platform::ScriptedPrompt prompt;
  auto rules = PageRules();
  w.client = {0, 0, 6, 4};
  ASSERT_TRUE(ApplyLayout(w, prompt, rules.data()));
  ASSERT_EQ(w.moves.size(), 1u);
  EXPECT_EQ(w.moves[0], (Move{0, 10, 10, 0, 0}));
}

TEST(ApplyLayout, AMinimisedOrChildlessWindowIsLeftAlone) {
  FakeWindow w = Page();
  platform::ScriptedPrompt prompt;
  auto rules = PageRules();
  w.minimized = true;
  EXPECT_TRUE(ApplyLayout(w, prompt, rules.data()));
  EXPECT_EQ(w.batches, 0);
  EXPECT_TRUE(w.moves.empty());

  FakeWindow empty;
  EXPECT_TRUE(ApplyLayout(empty, prompt, rules.data()));
  EXPECT_EQ(empty.batches, 0);
  EXPECT_EQ(prompt.count(), 0u);
}

TEST(ApplyLayout, AnIncompleteChildIsReportedPerMetricAndOthersStillMove) {
  FakeWindow w = Page();
  w.children.push_back({5, {40, 40, 60, 60}});
  platform::ScriptedPrompt prompt;
  w.path = "/" + std::string(200, 'p');
  // Both rules set the left edge: between them right and width are forgotten.
  std::vector<LayoutRule> rules = PageRules();
  rules.insert(rules.begin(), {{kMove, kLeft, 5, 0, kLeft, kLaidOutWindowId, 0, 0, 0, 0},
                               {kStretch, kLeft, 5, 0, kLeft, kLaidOutWindowId, 0, 0, 0, 0}});
  EXPECT_FALSE(ApplyLayout(w, prompt, rules.data()));
  const auto shown = prompt.shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Layout couldn't find right of id=5");
  EXPECT_EQ(shown[1].text, "Layout couldn't find width of id=5");
  EXPECT_EQ(shown[0].caption, w.path.substr(0, 128));
  EXPECT_EQ(shown[0].flags, platform::MB_OK);
  EXPECT_EQ(w.moves.size(), 2u);  // the tree control and the incomplete child
}

TEST(ApplyLayout, InternalErrorsShowAnAssertionAndMoveNothing) {
  struct Case {
    LayoutRule rule;
    const char* text;
  } cases[] = {
      {{kStretch, kRight, 999, 0, kRight, kLaidOutWindowId, 0, 0, 0, 0},
       "Child not found in child list"},
      {{kStretch, kRight, 1213, 0, kRight, 998, 0, 0, 0, 0}, "Child not found in child list"},
      {{7, kRight, 1213, 0, kRight, kLaidOutWindowId, 0, 0, 0, 0}, "Invalid action"},
      {{kMove, kWidth, 1213, 0, kRight, kLaidOutWindowId, 0, 0, 0, 0}, "Invalid side"},
      {{kStretch, 9, 1213, 0, kRight, kLaidOutWindowId, 0, 0, 0, 0}, "Invalid metric"},
      {{kStretch, kRight, 1213, 0, 7, kLaidOutWindowId, 0, 0, 0, 0}, "Invalid metric"},
      {{kStretch, kRight, 1213, 0, kBothEdges, kLaidOutWindowId, 0, 0, 0, 0}, "Invalid metric"},
      // The control's right follows its own right, which it has just forgotten.
      {{kStretch, kRight, 1213, 0, kRight, 1213, 0, 0, 0, 0}, "Unable to apply rules"},
  };
  for (const Case& c : cases) {
    FakeWindow w = Page();
    platform::ScriptedPrompt prompt;
    std::vector<LayoutRule> rules = {c.rule, kEnd};
    EXPECT_FALSE(ApplyLayout(w, prompt, rules.data())) << c.text;
    const auto shown = prompt.shown();
    ASSERT_EQ(shown.size(), 1u) << c.text;
    EXPECT_EQ(shown[0].text, c.text);
    EXPECT_EQ(shown[0].caption, "Assertion Failed");
    EXPECT_EQ(shown[0].flags, platform::MB_OK | platform::MB_ICONERROR);
    EXPECT_EQ(w.batches, 0) << c.text;
    EXPECT_TRUE(w.moves.empty());
  }
}

}  // namespace
}  // namespace layout
