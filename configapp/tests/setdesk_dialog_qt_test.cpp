// Setdesk's dialog on screen (offscreen), driven through its named controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "configapp/DialogGeometry.h"
#include "configapp/SetdeskDialog.h"
#include "configapp/SetdeskRun.h"
#include "configapp/qt/QtSetdeskDialog.h"
#include "configapp/qt/SetdeskDialogView.h"
#include "configapp/qt/TabControl.h"
#include "configapp/tests/SetdeskTest.h"
#include "platform/Text.h"
#include "ui/testing/OffscreenApp.h"

namespace configapp {
namespace {

using palmsettings::PalmSettings;

using ui::testing::OffscreenApp;

template <typename T>
T* Child(QWidget* dialog, const char* name) {
  T* child = dialog->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

QString Text(QWidget* dialog, const char* name) {
  if (auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(name)))
    return button->text();
  if (auto* group = dialog->findChild<QGroupBox*>(QString::fromLatin1(name))) return group->title();
  return Child<QLabel>(dialog, name)->text();
}

void Click(QWidget* dialog, const char* name) {
  Child<QAbstractButton>(dialog, name)->click();
}

void Type(QWidget* dialog, const char* name, const QString& text) {
  Child<QLineEdit>(dialog, name)->setText(text);
}

// Hover: the pointer enters a control, as for its hint.
void Hover(QWidget* control) {
  QEvent enter(QEvent::Enter);
  QCoreApplication::sendEvent(control, &enter);
}

QStringList Items(QWidget* dialog) {
  QStringList items;
  auto* list = Child<QListWidget>(dialog, "addresses");
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

// OnModal: runs `drive` on the modal dialog once it is up.
void OnModal(std::function<void(QDialog*)> drive) {
  QTimer::singleShot(0, [drive] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    drive(dialog);
  });
}

class SetdeskQtTest : public testing::SetdeskTest {
 protected:
  void SetUp() override {
    SetdeskTest::SetUp();
    OffscreenApp();
  }
  // Snapshot: every value of the component key as stored.
  static std::map<std::string, std::string> Snapshot() {
    std::map<std::string, std::string> values;
    for (const std::string& name : ValueNames()) values[name] = Stored(name);
    return values;
  }
  // StoreSample: a component key with two addresses and a file.
  void StoreSample() {
    StoreText("ZEPPDir", testing::kZeppDir);
    StoreText("DesktopPath", "C:\\Palm");
    StoreText("UpdateUrl1", "http://one/");
    StoreText("UpdateUrl2", "http://two/");
    StoreText("File1", "ZEPDB.pdb");
    platform::RegKey key = ComponentKey();
    key.SetDword("SyncWaitTime", 8);
    key.SetDword("SyncShowDlg", 1);
    key.SetDword("DefaultAction", 1);
    key.SetDword("DaysBetweenUpdate", 7);
    key.SetDword("LastUpdate", 99);
  }
  // Run: the whole program run with `drive` working the dialog.
  int Run(std::function<void(QDialog*)> drive) {
    PalmSettings record;
    QtSetdeskDialog dialog(record, prompt_);
    OnModal(std::move(drive));
    return RunSetdesk(record, dialog, prompt_);
  }
};

TEST_F(SetdeskQtTest, ConduitPageControls) {
  PalmSettings record;
  record.DaysBetweenUpdate = 14;
  SetdeskDialog dialog(record, prompt_);
  SetdeskDialogView view(dialog);
  view.show();
  EXPECT_EQ(Child<QComboBox>(&view, "rate")->currentIndex(), -1);
  EXPECT_EQ(Child<QComboBox>(&view, "rate")->count(), 5);
  EXPECT_EQ(Child<QComboBox>(&view, "rate")->itemData(2).toUInt(), 15u);
  EXPECT_EQ(Child<QComboBox>(&view, "action")->currentIndex(), 2);

  // Each keystroke is checked: "0" shows string 323 and brings back 5.
  auto* seconds = Child<QLineEdit>(&view, "seconds");
  EXPECT_EQ(seconds->text(), "5");
  seconds->setText("0");
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Wait time must be between 1 and 60 seconds.");
  EXPECT_EQ(seconds->text(), "5");
  seconds->setText("60");
  EXPECT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(seconds->text(), "60");
  seconds->setText("61");
  EXPECT_EQ(prompt_.count(), 2u);
  EXPECT_EQ(seconds->text(), "60");
  seconds->setText("x");
  EXPECT_EQ(prompt_.last().text, "Please enter an integer.");
  EXPECT_EQ(seconds->text(), "x");
  seconds->setText("12");

  // Clearing the show-dialog box disables the seconds and keeps them.
  Click(&view, "showDialog");
  EXPECT_FALSE(Child<QCheckBox>(&view, "showDialog")->isChecked());
  EXPECT_FALSE(seconds->isEnabled());
  EXPECT_EQ(seconds->text(), "12");
  EXPECT_EQ(Child<QLabel>(&view, "hint")->text(), "Показывать ли окно диалога во время соединения");
  view.reject();
  EXPECT_EQ(record.SyncWaitTime, 12);
  EXPECT_EQ(record.SyncShowDlg, 0u);
  EXPECT_EQ(record.DaysBetweenUpdate, 14);
}

TEST_F(SetdeskQtTest, UrlsPageButtons) {
  PalmSettings record;
  for (const char* url : {"http://one/", "http://two/"})
    palmsettings::AppendEntry(record.addressList, url);
  SetdeskDialog dialog(record, prompt_);
  SetdeskDialogView view(dialog);
  view.show();
  view.SelectTab(1);
  Type(&view, "address", "   ");
  Click(&view, "add");
  EXPECT_EQ(Items(&view), (QStringList{"http://one/", "http://two/"}));
  Type(&view, "address", " a ");
  Click(&view, "add");
  EXPECT_EQ(Items(&view), (QStringList{"a", "http://one/", "http://two/"}));
  EXPECT_EQ(Child<QLineEdit>(&view, "address")->text(), "");

  auto* list = Child<QListWidget>(&view, "addresses");
  list->setCurrentRow(0);
  Click(&view, "up");
  EXPECT_EQ(Items(&view), (QStringList{"a", "http://one/", "http://two/"}));
  list->setCurrentRow(2);
  Click(&view, "down");
  EXPECT_EQ(Items(&view), (QStringList{"a", "http://one/", "http://two/"}));
  Click(&view, "up");
  EXPECT_EQ(Items(&view), (QStringList{"a", "http://two/", "http://one/"}));
  EXPECT_EQ(list->currentRow(), 1);
  Click(&view, "delete");
  EXPECT_EQ(Items(&view), (QStringList{"a", "http://one/"}));
  prompt_.Answer(platform::IDNO);
  Click(&view, "clearAll");
  EXPECT_EQ(Items(&view).size(), 2);
  EXPECT_EQ(prompt_.last().text, "Do you really want to delete all addresses?");
  view.accept();
  EXPECT_EQ(Names(record.addressList), (std::vector<std::string>{"a", "http://one/"}));
}

TEST_F(SetdeskQtTest, CancelAfterChangesLeavesTheRegistryUntouched) {
  StoreSample();
  const auto before = Snapshot();
  EXPECT_EQ(Run([](QDialog* dialog) {
              Child<QComboBox>(dialog, "rate")->setCurrentIndex(4);
              Type(dialog, "seconds", "30");
              Click(dialog, "showDialog");
              Type(dialog, "address", "http://new/");
              Click(dialog, "add");
              Type(dialog, "desktopPath", "D:\\Elsewhere");
              Click(dialog, "cancel");
            }),
            kSetdeskDone);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(SetdeskQtTest, OkWritesAllValuesIncludingAnEmptiedAddressList) {
  StoreSample();
  prompt_.Answer(platform::IDYES);
  EXPECT_EQ(Run([](QDialog* dialog) {
              EXPECT_EQ(Child<QLineEdit>(dialog, "seconds")->text(), "8");
              Child<QComboBox>(dialog, "action")->setCurrentIndex(0);
              Child<QComboBox>(dialog, "rate")->setCurrentIndex(3);
              Type(dialog, "seconds", "45");
              Click(dialog, "showDialog");
              Click(dialog, "clearAll");
              Type(dialog, "desktopPath", "D:\\Palm");
              Type(dialog, "zeppDir", "D:\\ZEPP");
              Click(dialog, "ok");
            }),
            kSetdeskDone);
  EXPECT_EQ(Setting("DefaultAction"), 0);
  EXPECT_EQ(Setting("DaysBetweenUpdate"), 30);
  EXPECT_EQ(Setting("SyncWaitTime"), 45);
  EXPECT_EQ(Setting("SyncShowDlg"), 0);
  EXPECT_EQ(Setting("LastUpdate"), 99);
  EXPECT_EQ(Stored("DesktopPath"), "D:\\Palm");
  EXPECT_EQ(Stored("ZEPPDir"), "D:\\ZEPP");
  EXPECT_EQ(Stored("UpdateUrl1"), "<missing>");
  EXPECT_EQ(Stored("UpdateUrl2"), "<missing>");
  EXPECT_EQ(Stored("File1"), "ZEPDB.pdb");
}

TEST_F(SetdeskQtTest, OkWithADirectoryTooLongKeepsTheDialogOnThePathsPage) {
  StoreSample();
  EXPECT_EQ(Run([this](QDialog* dialog) {
              Type(dialog, "zeppDir", QString(256, 'z'));
              Click(dialog, "ok");
              EXPECT_EQ(QApplication::activeModalWidget(), dialog);
              EXPECT_EQ(prompt_.last().text,
                        "The directory is too long: a directory may have at most 255 characters.");
              EXPECT_EQ(Child<QTabBar>(dialog, "tabBar")->currentIndex(), 2);
              EXPECT_TRUE(Child<QWidget>(dialog, "pathsPage")->isVisible());
              Type(dialog, "zeppDir", QString(255, 'z'));
              Click(dialog, "ok");
            }),
            kSetdeskDone);
  EXPECT_EQ(Stored("ZEPPDir"), std::string(255, 'z'));
}

TEST_F(SetdeskQtTest, WithoutTheLanguageLibraryTextsComeFromTheOwnTable) {
  StoreSample();
  Run([](QDialog* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "Updater for PalmOS Configuration  v4.0.0.4");
    EXPECT_EQ(Text(dialog, "cancel"), "Cancel");
    EXPECT_EQ(Text(dialog, "ok"), "OK");
    auto* tabs = Child<QTabBar>(dialog, "tabBar");
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "Conduit");
    EXPECT_EQ(tabs->tabText(1), "URLs");
    EXPECT_EQ(tabs->tabText(2), "Paths");
    const std::pair<const char*, const char*> texts[] = {
        {"conduitGroup", "Conduit settings"},
        {"actionLabel", "Action"},
        {"rateLabel", "Updates rate"},
        {"showDialog", "Show dialog box"},
        {"secondsLabel", "seconds"},
        {"getUpdateNow", "Get update now"},
        {"addressGroup", "Address configuration"},
        {"up", "Up"},
        {"down", "Down"},
        {"add", "Add"},
        {"delete", "Delete"},
        {"clearAll", "Clear all"},
        {"addressLabel", "URL:"},
        {"pathsGroup", "Paths"},
        {"desktopLabel", "Palm Desktop"},
        {"zeppLabel", "ZEP for PalmOS"},
    };
    for (const auto& [name, text] : texts) EXPECT_EQ(Text(dialog, name), text) << name;
    EXPECT_EQ(Child<QComboBox>(dialog, "rate")->itemText(4), "Once in 2 monthes");
    EXPECT_EQ(Child<QComboBox>(dialog, "action")->itemText(1), "Get update and install it now");
    EXPECT_FALSE(Child<QPushButton>(dialog, "browseZepp")->isVisible());
    dialog->reject();
  });
}

TEST_F(SetdeskQtTest, WithATestLanguageLibraryEveryTextIsReplaced) {
  StoreSample();
  InstallLanguage();
  Run([this](QDialog* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "L321");
    EXPECT_EQ(Text(dialog, "cancel"), "L201");
    auto* tabs = Child<QTabBar>(dialog, "tabBar");
    EXPECT_EQ(tabs->tabText(0), "L322");
    EXPECT_EQ(tabs->tabText(1), "L355");
    EXPECT_EQ(tabs->tabText(2), "L356");
    const std::pair<const char*, const char*> texts[] = {
        {"conduitGroup", "L300"}, {"actionLabel", "L301"},  {"rateLabel", "L302"},
        {"showDialog", "L303"},   {"secondsLabel", "L304"}, {"getUpdateNow", "L305"},
        {"addressGroup", "L330"}, {"up", "L331"},           {"down", "L332"},
        {"add", "L333"},          {"delete", "L334"},       {"clearAll", "L335"},
        {"pathsGroup", "L350"},   {"desktopLabel", "L351"}, {"zeppLabel", "L352"},
        {"addressLabel", "URL:"},  // the template's text in every language
    };
    for (const auto& [name, text] : texts) EXPECT_EQ(Text(dialog, name), text) << name;
    auto* rate = Child<QComboBox>(dialog, "rate");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(rate->itemText(i), QString("L%1").arg(310 + i));
    auto* action = Child<QComboBox>(dialog, "action");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(action->itemText(i), QString("L%1").arg(315 + i));
    Hover(Child<QWidget>(dialog, "rate"));
    EXPECT_EQ(Text(dialog, "hint"), "L307");
    Type(dialog, "seconds", "0");
    EXPECT_EQ(prompt_.last().text, "L323");
    EXPECT_EQ(prompt_.last().caption, "L102");
    dialog->reject();
  });
}

TEST_F(SetdeskQtTest, GetUpdateNowStartsTheProgramFromZeppDirAndTheDialogStays) {
  StoreSample();
  InstallUpdate();
  Run([this](QDialog* dialog) {
    Type(dialog, "zeppDir", "C:\\Elsewhere");  // reaches the record only at the close
    Click(dialog, "getUpdateNow");
    EXPECT_EQ(QApplication::activeModalWidget(), dialog);
    EXPECT_EQ(Text(dialog, "hint"), "Получить обновление немедленно");
    const std::string started = WaitForStart();
    EXPECT_NE(started.find("arguments=0\n"), std::string::npos) << started;
    EXPECT_NE(started.find("folder=" + Host("ZEPP") + "\n"), std::string::npos) << started;
    EXPECT_EQ(prompt_.count(), 0u);
    dialog->reject();
  });
}

TEST_F(SetdeskQtTest, PagesLieOnTheTabDisplayAreaOnePerTab) {
  PalmSettings record;
  SetdeskDialog dialog(record, prompt_);
  SetdeskDialogView view(dialog);
  view.show();
  auto* tabs = Child<TabControl>(&view, "tabs");
  const QRect t = tabs->geometry();
  const DialogRect expected = PageRect(
      {t.left(), t.top(), t.left() + t.width(), t.top() + t.height()}, 1, tabs->ItemHeight());
  EXPECT_EQ(view.PageGeometry(), expected);
  for (const char* name : {"conduitPage", "urlsPage", "pathsPage"}) {
    const QRect g = Child<QWidget>(&view, name)->geometry();
    EXPECT_EQ(g, QRect(expected.left, expected.top, expected.width(), expected.height())) << name;
  }
  // The dialog is 414 × 189 dialog units of its font.
  const DialogRect size = UnitsToPixels(kMainDialogUnits, view.BaseUnits());
  EXPECT_EQ(view.size(), QSize(size.width(), size.height()));

  view.resize(view.width() + 100, view.height() + 40);
  QApplication::processEvents();
  EXPECT_EQ(view.PageGeometry().width(), expected.width() + 100);
  EXPECT_EQ(view.PageGeometry().height(), expected.height() + 40);
  EXPECT_EQ(Child<QWidget>(&view, "urlsPage")->width(), expected.width() + 100);

  const char* pages[] = {"conduitPage", "urlsPage", "pathsPage"};
  for (int tab : {1, 2, 0}) {
    view.SelectTab(tab);
    for (int p = 0; p < 3; ++p)
      EXPECT_EQ(Child<QWidget>(&view, pages[p])->isVisible(), p == tab) << tab << pages[p];
  }
  view.reject();
}

TEST_F(SetdeskQtTest, HintLinesFollowThePointer) {
  PalmSettings record;
  SetdeskDialog dialog(record, prompt_);
  SetdeskDialogView view(dialog);
  view.show();
  QWidget* conduit = Child<QWidget>(&view, "conduitPage");
  Hover(Child<QWidget>(conduit, "action"));
  EXPECT_EQ(Text(conduit, "hint"), "Action,that will be performed during syncronization");
  Hover(Child<QWidget>(conduit, "conduitGroup"));
  EXPECT_EQ(Text(conduit, "hint"), "Action,that will be performed during syncronization");
  view.SelectTab(1);
  QWidget* urls = Child<QWidget>(&view, "urlsPage");
  Hover(Child<QListWidget>(urls, "addresses")->viewport());
  EXPECT_EQ(Text(urls, "hint"), "This list contains update URLs.");
  Hover(Child<QWidget>(urls, "clearAll"));
  EXPECT_EQ(Text(urls, "hint"), "Delete all entries in the URLs list");
  view.SelectTab(2);
  QWidget* paths = Child<QWidget>(&view, "pathsPage");
  Hover(Child<QWidget>(paths, "desktopPath"));
  EXPECT_EQ(Text(paths, "hint"), "Path to Palm Desktop directory");
  // Each page has its own hint line.
  EXPECT_EQ(Text(conduit, "hint"), "Action,that will be performed during syncronization");
  view.reject();
}

}  // namespace
}  // namespace configapp
