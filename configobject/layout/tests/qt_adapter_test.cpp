// The Qt adapter: child ids, Z order and one batch of moves on real widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QWidget>

#include "configobject/layout/Layout.h"
#include "configobject/layout/qt/QtLayoutWindow.h"
#include "platform/ScriptedPrompt.h"
#include "ui/testing/OffscreenApp.h"

namespace layout {
namespace {

using ui::testing::OffscreenApp;

TEST(QtLayoutWindow, StretchesATaggedChildWithTheWindow) {
  OffscreenApp();
  QWidget page;
  page.resize(300, 200);
  auto* tree = new QPushButton(&page);
  tree->setGeometry(10, 10, 290, 190);
  tree->setProperty(kControlIdProperty, 1213);
  auto* other = new QPushButton(&page);
  other->setGeometry(0, 0, 5, 5);
  other->setProperty(kControlIdProperty, 7);

  QtLayoutWindow window(&page);
  ASSERT_EQ(window.ChildCount(), 2);
  EXPECT_EQ(window.ChildId(0), 7);  // created last, so on top
  EXPECT_EQ(window.ChildId(1), 1213);
  EXPECT_FALSE(window.IsDialog());
  EXPECT_GT(window.MeasureText("abc").width, 0);

  page.resize(340, 230);
  LayoutRule rules[] = {{kStretch, kRight, 1213, 0, kRight, kLaidOutWindowId, 0, 0, 0, 0},
                        {kStretch, kBottom, 1213, 0, kBottom, kLaidOutWindowId, 0, 0, 0, 0},
                        {kEndOfRules, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
  platform::ScriptedPrompt prompt;
  QtLayoutWindow resized(&page);
  ASSERT_TRUE(ApplyLayout(resized, prompt, rules));
  EXPECT_EQ(prompt.count(), 0u);
  EXPECT_FALSE(resized.ProgramPath().empty());
  EXPECT_EQ(tree->geometry(), QRect(10, 10, 330, 220));
  EXPECT_EQ(other->geometry(), QRect(0, 0, 5, 5));
}

TEST(QtLayoutWindow, ContentsMarginsDoNotShiftTheWindowsEdges) {
  OffscreenApp();
  QWidget page;
  page.setContentsMargins(7, 5, 11, 13);
  page.resize(300, 200);
  auto* tree = new QPushButton(&page);
  tree->setGeometry(10, 10, 290, 190);  // edges on the page's right and bottom
  tree->setProperty(kControlIdProperty, 1213);
  page.resize(340, 230);
  LayoutRule rules[] = {{kStretch, kRight, 1213, 0, kRight, kLaidOutWindowId, 0, 0, 0, 0},
                        {kStretch, kBottom, 1213, 0, kBottom, kLaidOutWindowId, 0, 0, 0, 0},
                        {kEndOfRules, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
  platform::ScriptedPrompt prompt;
  QtLayoutWindow window(&page);
  const Rect client = window.ClientRect();
  EXPECT_EQ(client.right - client.left, 340);
  EXPECT_EQ(client.bottom - client.top, 230);
  ASSERT_TRUE(ApplyLayout(window, prompt, rules));
  EXPECT_EQ(tree->geometry(), QRect(10, 10, 330, 220));
}

}  // namespace
}  // namespace layout
