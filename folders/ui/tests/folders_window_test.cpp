// The folder window offscreen: list, enabling in both menus, commands, and a whole folder's life.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <filesystem>
#include <functional>

#include "folders/container/Container.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/ui/FoldersWindow.h"
#include "folders/ui/tests/FoldersProgramTest.h"
#include "folders/volumes/Mount.h"
#include "folders/volumes/SectorAccess.h"
#include "folders/volumes/VolumeList.h"
#include "platform/ScriptedPrompt.h"
#include "platform/Text.h"
#include "ui/testing/OffscreenApp.h"

namespace folders {
namespace {

namespace fs = std::filesystem;

// Never destroyed: Qt's own globals are gone by the time statics end.
using ui::testing::LastingOffscreenApp;

// WhenModal: once a modal dialog named `name` is up, runs `fill` on it.
void WhenModal(const QString& name, std::function<void(QWidget*)> fill, int triesLeft = 200) {
  QTimer::singleShot(10, [=] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->objectName() == name) {
      fill(modal);
    } else if (triesLeft > 0) {
      WhenModal(name, fill, triesLeft - 1);
    } else {
      ADD_FAILURE() << "no modal dialog " << name.toStdString();
    }
  });
}

// WaitFor: turns the event loop until `done` holds or `ms` have passed.
bool WaitFor(const std::function<bool()>& done, int ms) {
  QElapsedTimer timer;
  timer.start();
  // Sleeping in the loop like a real idle event loop: an event posted from
  // a worker is handled the moment it arrives. The ticker bounds each wait.
  QTimer ticker;
  ticker.start(20);
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

void Type(QWidget* dialog, const char* field, const QString& text) {
  auto* edit = dialog->findChild<QLineEdit*>(field);
  ASSERT_NE(edit, nullptr) << field;
  edit->setText(text);
}

void Click(QWidget* dialog, const char* button) {
  auto* push = dialog->findChild<QPushButton*>(button);
  ASSERT_NE(push, nullptr) << button;
  push->click();
}

class FoldersWindowTest : public testing::FoldersProgramTest {
 protected:
  void SetUp() override {
    LastingOffscreenApp();
    FoldersProgramTest::SetUp();
  }
  void TearDown() override {
    window_.reset();
    FoldersProgramTest::TearDown();
  }

  FoldersWindow& Window() {
    if (!window_) {
      window_ = std::make_unique<FoldersWindow>(prompt_, workers_);
      window_->resize(400, 300);
      window_->show();
      QApplication::processEvents();
    }
    return *window_;
  }
  QTreeWidget* List() { return Window().findChild<QTreeWidget*>("folderList"); }
  QAction* Action(const char* name) { return Window().findChild<QAction*>(name); }

  // MenuState: the menu bar's enabling in the table's order.
  std::array<bool, 5> MenuState() {
    return {Action("actionDelete")->isEnabled(), Action("actionMount")->isEnabled(),
            Action("actionUnmount")->isEnabled(), Action("actionProperties")->isEnabled(),
            Action("actionChangePassword")->isEnabled()};
  }

  QPoint RowPoint(int row) { return List()->visualItemRect(List()->topLevelItem(row)).center(); }

  // ContextState: the row context menu's enabling, same order as MenuState.
  std::array<bool, 5> ContextState(int row) {
    std::unique_ptr<QMenu> menu = Window().BuildContextMenu(RowPoint(row));
    auto on = [&](const char* name) {
      QAction* action = menu->findChild<QAction*>(name);
      EXPECT_NE(action, nullptr) << name;
      return action && action->isEnabled();
    };
    return {on("contextDelete"), on("contextMount"), on("contextUnmount"), on("contextProperties"),
            on("contextChangePassword")};
  }

  int RowIndex(std::u16string_view path) {
    for (int i = 0; i < List()->topLevelItemCount(); ++i)
      if (List()->topLevelItem(i)->text(0).toStdU16String() == path) return i;
    return -1;
  }

  platform::ScriptedPrompt prompt_;
  CreationWorkers workers_;
  std::unique_ptr<FoldersWindow> window_;
};

using State = std::array<bool, 5>;

TEST_F(FoldersWindowTest, ListShowsTheColumnsAndOneRowPerEntry) {
  MakeFolder(u"\\My Documents\\a.zsf", u"pw", 5, 512);
  ASSERT_EQ(List()->topLevelItemCount(), 1);
  QTreeWidgetItem* header = List()->headerItem();
  EXPECT_EQ(header->text(0), "File");
  EXPECT_EQ(header->text(1), "Size(KB)");
  EXPECT_EQ(header->text(2), "Algorithm");
  EXPECT_EQ(List()->columnWidth(0), 120);
  EXPECT_EQ(List()->columnWidth(1), 60);
  EXPECT_EQ(List()->columnWidth(2), 60);
  EXPECT_EQ(List()->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(List()->selectionBehavior(), QAbstractItemView::SelectRows);
  QTreeWidgetItem* item = List()->topLevelItem(0);
  EXPECT_EQ(item->text(0), "\\My Documents\\a.zsf");
  EXPECT_EQ(item->text(1), "512");
  EXPECT_EQ(item->text(2), "Rijndael-128");
  EXPECT_FALSE(item->icon(0).isNull());
  EXPECT_EQ(MenuState(), State({false, false, false, false, false}));
}

TEST_F(FoldersWindowTest, EnablingFollowsTheSelectedRowInMenuAndContextMenu) {
  MakeFolder(u"\\My Documents\\idle.zsf", u"pw");
  VolumeRecord mounted = MakeFolder(u"\\My Documents\\busy.zsf", u"pw");
  ASSERT_NE(MountVolume(mounted, u"pw", prompt_), 0u);
  MakeFolder(u"\\My Documents\\gone.zsf", u"pw");
  fs::remove(Host(u"\\My Documents\\gone.zsf"));
  Window().Refresh();
  ASSERT_EQ(List()->topLevelItemCount(), 3);

  const int idle = RowIndex(u"\\My Documents\\idle.zsf");
  const int busy = RowIndex(u"\\My Documents\\busy.zsf");
  const int gone = RowIndex(u"\\My Documents\\gone.zsf");
  ASSERT_GE(idle, 0);
  ASSERT_GE(busy, 0);
  ASSERT_GE(gone, 0);

  // Delete, Mount, Unmount, Properties, Change password.
  EXPECT_EQ(ContextState(idle), State({true, true, false, true, true}));
  EXPECT_EQ(Window().SelectedRow()->path, u"\\My Documents\\idle.zsf");  // the menu selected it
  EXPECT_EQ(MenuState(), State({true, true, false, true, true}));

  EXPECT_EQ(ContextState(busy), State({false, false, true, true, false}));
  EXPECT_EQ(MenuState(), State({false, false, true, true, false}));

  EXPECT_EQ(ContextState(gone), State({true, false, false, true, true}));
  EXPECT_EQ(MenuState(), State({true, false, false, false, false}));  // only Delete
  UnmountVolume(u"\\My Documents\\busy.zsf");
}

TEST_F(FoldersWindowTest, ContextMenuOnEmptySpaceOffersNewAndOpen) {
  MakeFolder(u"\\My Documents\\a.zsf", u"pw");
  Window();
  const QPoint below(5, List()->viewport()->height() - 5);
  ASSERT_EQ(List()->itemAt(below), nullptr);
  std::unique_ptr<QMenu> menu = Window().BuildContextMenu(below);
  QStringList names;
  for (QAction* action : menu->actions()) names << action->objectName();
  EXPECT_EQ(names, QStringList({"contextNew", "contextOpen"}));
  EXPECT_EQ(menu->actions()[0]->text(), "New");
  EXPECT_EQ(menu->actions()[1]->text(), "Open");
}

TEST_F(FoldersWindowTest, MountedFolderIsNotReKeyedOrDeletedFromEitherMenu) {
  VolumeRecord record = MakeFolder(u"\\My Documents\\m.zsf", u"pw");
  ASSERT_NE(MountVolume(record, u"pw", prompt_), 0u);
  Window().Refresh();
  const int row = RowIndex(u"\\My Documents\\m.zsf");
  ASSERT_GE(row, 0);
  // Any dialog that opens anyway is recorded and closed.
  QStringList opened;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      opened << modal->objectName();
      modal->close();
    }
  });
  watch.start(10);
  prompt_.SetDefaultAnswer(platform::IDYES);

  std::unique_ptr<QMenu> menu = Window().BuildContextMenu(RowPoint(row));
  for (const char* name : {"contextDelete", "contextChangePassword"}) {
    QAction* action = menu->findChild<QAction*>(name);
    ASSERT_NE(action, nullptr) << name;
    EXPECT_FALSE(action->isEnabled()) << name;
    action->trigger();
  }
  Action("actionChangePassword")->trigger();
  Action("actionDelete")->trigger();
  // The commands themselves refuse too, whatever calls them.
  Window().ChangePasswordSelected();
  Window().DeleteSelected();
  WaitFor([] { return false; }, 50);

  EXPECT_TRUE(opened.isEmpty()) << opened.join(", ").toStdString();
  EXPECT_EQ(prompt_.count(), 0u);
  EXPECT_TRUE(fs::exists(Host(u"\\My Documents\\m.zsf")));
  EXPECT_TRUE(VerifyPassword(RowOf(u"\\My Documents\\m.zsf")->record, u"pw"));
  EXPECT_EQ(RowOf(u"\\My Documents\\m.zsf")->state, VolumeState::Mounted);
  UnmountVolume(u"\\My Documents\\m.zsf");
}

TEST_F(FoldersWindowTest, ListIsRefreshedWhenTheWindowBecomesActive) {
  Window();
  ASSERT_EQ(List()->topLevelItemCount(), 0);
  MakeFolder(u"\\My Documents\\later.zsf", u"pw");  // written behind the window's back
  QWidget other;
  other.show();
  other.activateWindow();
  WaitFor([&] { return !Window().isActiveWindow(); }, 2000);
  ASSERT_EQ(List()->topLevelItemCount(), 0);
  Window().activateWindow();
  ASSERT_TRUE(WaitFor([&] { return Window().isActiveWindow(); }, 2000));
  EXPECT_EQ(RowIndex(u"\\My Documents\\later.zsf"), 0);
}

TEST_F(FoldersWindowTest, BusyBarGoesOnceTheLastCreationHasEnded) {
  QProgressBar* busy = Window().findChild<QProgressBar*>("creationProgress");
  ASSERT_NE(busy, nullptr);
  WhenModal("newFolderSheet", [](QWidget* sheet) {
    Type(sheet, "name", "busy");
    Type(sheet, "password", "pw");
    Type(sheet, "retype", "pw");
    Click(sheet, "ok");
  });
  Action("actionNew")->trigger();
  // No WaitForCreations: the worker's own refresh must show the row and
  // take the bar away.
  const bool settled = WaitFor(
      [&] { return workers_.Running() == 0 && RowIndex(u"\\busy.zsf") >= 0 && !busy->isVisible(); },
      10000);
  EXPECT_TRUE(settled) << "row " << RowIndex(u"\\busy.zsf") << ", bar " << busy->isVisible();
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(FoldersWindowTest, SelectionStaysOnItsPathAcrossRefreshes) {
  MakeFolder(u"\\My Documents\\b.zsf", u"pw");
  Window();
  ASSERT_TRUE(Window().SelectPath(u"\\My Documents\\b.zsf"));
  MakeFolder(u"\\My Documents\\a.zsf", u"pw");
  Window().Refresh();
  ASSERT_EQ(List()->topLevelItemCount(), 2);
  ASSERT_TRUE(Window().SelectedRow());
  EXPECT_EQ(Window().SelectedRow()->path, u"\\My Documents\\b.zsf");
}

TEST_F(FoldersWindowTest, DeleteAskedYesRemovesTheRowAndDisablesTheCommands) {
  MakeFolder(u"\\My Documents\\d.zsf", u"pw");
  Window();
  ASSERT_TRUE(Window().SelectPath(u"\\My Documents\\d.zsf"));
  prompt_.Answer(platform::IDYES);
  Action("actionDelete")->trigger();
  EXPECT_EQ(prompt_.last().text, "Are you sure you want to delete '\\My Documents\\d.zsf'?");
  EXPECT_EQ(List()->topLevelItemCount(), 0);
  EXPECT_FALSE(fs::exists(Host(u"\\My Documents\\d.zsf")));
  EXPECT_EQ(MenuState(), State({false, false, false, false, false}));
}

TEST_F(FoldersWindowTest, OpenOfAListedFileSays72AndKeepsTheList) {
  MakeFolder(u"\\My Documents\\o.zsf", u"pw", 3, 256, u"Kept");
  Window().OpenHost(Host(u"\\My Documents\\o.zsf"));
  EXPECT_EQ(prompt_.last().text, "This file is already in list.");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Coffer");
  EXPECT_EQ(prompt_.count(), 1u);  // no mount dialog, nothing else
  ASSERT_EQ(List()->topLevelItemCount(), 1);
  const std::vector<VolumeRow> rows = ReadVolumeRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(platform::FieldText(rows[0].record.mountName), u"Kept");
  EXPECT_EQ(rows[0].state, VolumeState::NotMounted);
}

TEST_F(FoldersWindowTest, AboutShowsProductAndVersion) {
  QString title, product, version;
  WhenModal("aboutDialog", [&](QWidget* about) {
    title = about->windowTitle();
    product = about->findChild<QLabel*>("product")->text();
    version = about->findChild<QLabel*>("version")->text();
    Click(about, "ok");
  });
  Action("actionAbout")->trigger();
  EXPECT_EQ(title, "About Quillmark Coffer");
  EXPECT_EQ(product, "Quillmark Coffer");
  EXPECT_EQ(version, QString("version ") + kFoldersVersion);
}

TEST_F(FoldersWindowTest, CreateMountWriteUnmountRekeyAndMountAgain) {
  Window();
  // New: the sheet on the menu's caption, filled and confirmed.
  WhenModal("newFolderSheet", [](QWidget* sheet) {
    EXPECT_EQ(sheet->windowTitle(), "New folder");
    Type(sheet, "name", "life");
    sheet->findChild<QSpinBox*>("size")->setValue(512);
    Type(sheet, "password", "first password");
    Type(sheet, "retype", "first password");
    Click(sheet, "ok");
  });
  Action("actionNew")->trigger();
  Window().WaitForCreations();
  ASSERT_EQ(prompt_.count(), 0u) << prompt_.last().text;
  const int row = RowIndex(u"\\life.zsf");
  ASSERT_GE(row, 0);
  EXPECT_EQ(List()->topLevelItem(row)->text(1), "512");

  // Mount with the password.
  ASSERT_TRUE(Window().SelectPath(u"\\life.zsf"));
  WhenModal("mountDialog", [](QWidget* dialog) {
    Type(dialog, "password", "first password");
    Click(dialog, "ok");
  });
  Action("actionMount")->trigger();
  std::optional<VolumeRow> selected = Window().SelectedRow();
  ASSERT_TRUE(selected);
  ASSERT_EQ(selected->state, VolumeState::Mounted) << prompt_.last().text;

  // Write a sector through the driver.
  std::optional<uint32_t> device = FindFolderDevice(selected->record.deviceHandle);
  ASSERT_TRUE(device);
  std::array<uint8_t, 512> data{};
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7 + 1);
  ASSERT_EQ(WriteFolderSector(*device, 3, data), 0u);

  // Unmount.
  Action("actionUnmount")->trigger();
  ASSERT_EQ(Window().SelectedRow()->state, VolumeState::NotMounted);

  // Change the password.
  WhenModal("passwordDialog", [](QWidget* dialog) {
    Type(dialog, "oldPassword", "first password");
    Type(dialog, "newPassword", "second password");
    Type(dialog, "retype", "second password");
    Click(dialog, "ok");
  });
  ASSERT_TRUE(Action("actionChangePassword")->isEnabled());
  Action("actionChangePassword")->trigger();
  ASSERT_EQ(prompt_.count(), 0u) << prompt_.last().text;
  EXPECT_TRUE(VerifyPassword(Window().SelectedRow()->record, u"second password"));

  // Mount with the new password: the sector reads back as written.
  WhenModal("mountDialog", [](QWidget* dialog) {
    Type(dialog, "password", "second password");
    Click(dialog, "ok");
  });
  Action("actionMount")->trigger();
  selected = Window().SelectedRow();
  ASSERT_EQ(selected->state, VolumeState::Mounted) << prompt_.last().text;
  device = FindFolderDevice(selected->record.deviceHandle);
  ASSERT_TRUE(device);
  std::array<uint8_t, 512> back{};
  ASSERT_EQ(ReadFolderSector(*device, 3, back), 0u);
  EXPECT_EQ(back, data);
  EXPECT_EQ(UnmountVolume(u"\\life.zsf"), 1);
}

}  // namespace
}  // namespace folders
