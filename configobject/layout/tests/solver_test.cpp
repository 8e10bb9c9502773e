// Metric derivation, dialog units, passes and centred ranges.
#include <gtest/gtest.h>

#include "configobject/layout/Layout.h"
#include "configobject/layout/tests/FakeWindow.h"
#include "platform/ScriptedPrompt.h"

namespace layout {
namespace {

using test::FakeWindow;
using test::Move;

constexpr LayoutRule kEnd = {kEndOfRules, 0, 0, 0, 0, 0, 0, 0, 0, 0};

TEST(DeriveMetrics, FillsEachAxisFromTheOtherTwo) {
  LayoutChild c{};
  c.metric[kRight] = 50;
  c.metric[kWidth] = 20;
  c.known[kRight] = c.known[kWidth] = 1;
  c.metric[kTop] = 5;
  c.metric[kBottom] = 9;
  c.known[kTop] = c.known[kBottom] = 1;
  DeriveMetrics(&c);
  EXPECT_EQ(c.metric[kLeft], 30);
  EXPECT_EQ(c.metric[kHeight], 4);
  EXPECT_TRUE(IsComplete(c));

  LayoutChild lone{};
  lone.metric[kLeft] = 7;
  lone.known[kLeft] = 1;
  DeriveMetrics(&lone);
  EXPECT_FALSE(IsComplete(lone));
  EXPECT_EQ(lone.known[kRight], 0);
}

TEST(BuildChildList, WindowFirstThenChildrenInZOrderThenTheEnd) {
  FakeWindow w;
  w.client = {0, 0, 120, 80};
  w.children = {{7, {1, 2, 11, 22}}, {3, {0, 0, 5, 5}}};
  std::vector<LayoutChild> list = BuildChildList(w);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].id, kLaidOutWindowId);
  EXPECT_EQ(list[0].metric[kWidth], 120);
  EXPECT_EQ(list[0].untouched, 0);
  EXPECT_EQ(list[1].id, 7);
  EXPECT_EQ(list[1].metric[kHeight], 20);
  EXPECT_EQ(list[1].untouched, 1);
  EXPECT_EQ(list[3].id, kEndOfChildrenId);
  EXPECT_EQ(FindChild(list.data(), 3), &list[2]);
  EXPECT_EQ(FindChild(list.data(), kEndOfChildrenId), nullptr);
  EXPECT_EQ(FindChild(list.data(), 99), nullptr);
}

TEST(DialogUnits, MeasureTheFiftyTwoLettersOutsideDialogs) {
  FakeWindow w;
  const DialogUnitConverter units(w);
  EXPECT_EQ(w.lastMeasured, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(units.Horizontal(4), 6);    // base width 6
  EXPECT_EQ(units.Horizontal(3), 4);    // 18 / 4, truncated
  EXPECT_EQ(units.Horizontal(-3), -4);  // toward zero
  EXPECT_EQ(units.Vertical(8), 13);
  EXPECT_EQ(units.Vertical(-5), -8);

  FakeWindow dialog;
  dialog.dialog = true;
  const DialogUnitConverter mapped(dialog);
  EXPECT_TRUE(dialog.lastMeasured.empty());
  EXPECT_EQ(mapped.Horizontal(5), 10);
  EXPECT_EQ(mapped.Vertical(5), 15);
}

TEST(SolveRules, ARuleOnALaterRulesResultIsDoneInALaterPass) {
  FakeWindow w;
  w.client = {0, 0, 400, 100};
  w.children = {{1, {0, 0, 100, 20}}, {2, {110, 0, 150, 20}}};
  platform::ScriptedPrompt prompt;
  std::vector<LayoutRule> rules = {
      // Button 2 sits 4 dialog units right of edit 1, whose right edge the next rule sets.
      {kMove, kLeft, 2, 0, kRight, 1, 0, 4, 0, 0},
      {kStretch, kRight, 1, 0, kRight, kLaidOutWindowId, 0, -20, 0, 0},
      kEnd};
  ASSERT_TRUE(ApplyLayout(w, prompt, rules.data()));
  EXPECT_EQ(rules[0].pixelOffset, 6);
  EXPECT_EQ(rules[1].pixelOffset, -30);
  ASSERT_EQ(w.moves.size(), 2u);
  EXPECT_EQ(w.moves[0], (Move{0, 0, 0, 370, 20}));
  EXPECT_EQ(w.moves[1], (Move{1, 376, 0, 40, 20}));  // moved, width kept

  // One pass alone would not do: the first rule is not ready in it.
  std::vector<LayoutChild> list = BuildChildList(w);
  const DialogUnitConverter units(w);
  bool done = true;
  LayoutRule first = {kMove, kLeft, 2, 0, kRight, 1, 0, 4, 0, 0};
  list[1].known[kRight] = list[1].known[kWidth] = 0;  // as the Stretch rule leaves it
  EXPECT_EQ(ApplyRule(rules.data(), &first, list.data(), units, &done), LayoutError::None);
  EXPECT_FALSE(done);
}

TEST(SolveRules, PercentScalesTheReferenceSize) {
  FakeWindow w;
  w.client = {0, 0, 301, 200};
  w.children = {{1, {0, 0, 10, 10}}};
  platform::ScriptedPrompt prompt;
  std::vector<LayoutRule> rules = {{kStretch, kWidth, 1, 0, kWidth, kLaidOutWindowId, 50, 0, 0, 0},
                                   kEnd};
  ASSERT_TRUE(ApplyLayout(w, prompt, rules.data()));
  EXPECT_EQ(w.moves[0], (Move{0, 0, 0, 150, 10}));  // 50 × 301 / 100, truncated
}

TEST(SolveRules, ACentredRangeKeepsItsShapeAndCentresAsAWhole) {
  FakeWindow w;
  w.client = {0, 0, 300, 100};
  w.children = {{100, {0, 10, 50, 30}}, {101, {60, 10, 110, 30}}, {102, {0, 50, 20, 60}}};
  platform::ScriptedPrompt prompt;
  std::vector<LayoutRule> rules = {
      {kCenterHorz, 0, 100, 101, kBothEdges, kLaidOutWindowId, 0, 0, 0, 0}, kEnd};
  ASSERT_TRUE(ApplyLayout(w, prompt, rules.data()));
  ASSERT_EQ(w.moves.size(), 2u);
  EXPECT_EQ(w.moves[0], (Move{0, 95, 10, 50, 20}));  // (300 - 110) / 2 = 95
  EXPECT_EQ(w.moves[1], (Move{1, 155, 10, 50, 20}));
  EXPECT_EQ(w.invalidated, (std::vector<int>{0, 1}));
}

TEST(SolveRules, RulesInsideACentredRangeAreSolvedBeforeCentring) {
  FakeWindow w;
  w.client = {0, 0, 300, 100};
  w.children = {{100, {0, 10, 50, 30}}, {101, {60, 10, 110, 30}}};
  platform::ScriptedPrompt prompt;
  std::vector<LayoutRule> rules = {
      {kCenterHorz, 0, 100, 101, kBothEdges, kLaidOutWindowId, 0, 2, 0, 0},  // 2 units = 3 px right
      {kMove, kLeft, 101, 0, kRight, 100, 0, 4, 0, 0},                       // 6 px after 100
      kEnd};
  ASSERT_TRUE(ApplyLayout(w, prompt, rules.data()));
  // In the copy 101 spans 56..106; the pair is 106 wide: shift (300 - 106) / 2 + 3 = 100.
  EXPECT_EQ(w.moves[0], (Move{0, 100, 10, 50, 20}));
  EXPECT_EQ(w.moves[1], (Move{1, 156, 10, 50, 20}));
}

TEST(SolveRules, ACentredRangeWhoseInnerRulesCannotBeSolvedIsAnInternalError) {
  FakeWindow w;
  w.children = {{100, {0, 10, 50, 30}}, {101, {60, 10, 110, 30}}, {5, {0, 0, 1, 1}}};
  platform::ScriptedPrompt prompt;
  std::vector<LayoutRule> rules = {
      {kCenterHorz, 0, 100, 101, kBothEdges, kLaidOutWindowId, 0, 0, 0, 0},
      {kMove, kLeft, 101, 0, kRight, 101, 0, 0, 0, 0},  // follows its own forgotten edge
      kEnd};
  EXPECT_FALSE(ApplyLayout(w, prompt, rules.data()));
  ASSERT_EQ(prompt.count(), 1u);
  EXPECT_EQ(prompt.last().text, "Unable to apply rules to centered children");
  EXPECT_TRUE(w.moves.empty());
}

}  // namespace
}  // namespace layout
