// End to end through the settings host offscreen: the registry shown in the page, edited, written
// by OK.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>

#include "configobject/module/IQrxConfigurator.h"
#include "configobject/module/QrxIds.h"
#include "configobject/page/qt/WindowHandle.h"
#include "outside/settingshost/HostOptions.h"
#include "outside/settingshost/SettingsHostWindow.h"
#include "outside/settingshost/SettingsSession.h"
#include "outside/treecontrol/TreeEditors.h"
#include "palmsettings/SettingsLayout.h"
#include "platform/RegKey.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/SelfRegistration.h"
#include "platform/com/testing/KeepLoaded.h"
#include "platform/com/testing/RegistrySnapshot.h"
#include "ui/testing/OffscreenApp.h"

namespace settingshost {
namespace {

using namespace platform::com;
namespace comtest = platform::com::testing;

using ui::testing::OffscreenApp;

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OffscreenApp();
    for (const char* module : {TREE_CONTROL_MODULE, QRX_MODULE}) {
      ASSERT_TRUE(comtest::KeepLoaded(module));
      ASSERT_EQ(CallSelfRegistration(module, RegistrationCall::Register).stage,
                SelfRegistrationResult::Done);
    }
  }
  void TearDown() override {
    session_.Close();
    EXPECT_EQ(CoLoadedServerCount(), 0u) << "the object or a page was left behind";
  }

  static platform::RegKey Component() {
    platform::RegKey key;
    EXPECT_EQ(
        key.Create(platform::RegRootKey(platform::RegStore::Desktop, platform::HKEY_LOCAL_MACHINE),
                   palmsettings::kComponentKey),
        0u);
    return key;
  }
  static uint32_t Dword(const char* name) {
    uint32_t v = 0xDEADBEEF;
    Component().QueryDword(name, &v);
    return v;
  }
  static std::string Text(const std::string& name) {
    std::string v = "<missing>";
    Component().QueryString(name, &v);
    return v;
  }
  void StoreSample() {
    platform::RegKey key = Component();
    key.SetDword("SyncShowDlg", 1);
    key.SetDword("SyncWaitTime", 0x00030005);
    key.SetDword("DefaultAction", 0x201);
    key.SetDword("DaysBetweenUpdate", 3);
    key.SetDword("LastUpdate", 1700000000);
    key.SetString("ZEPPDir", "C:\\Quill", platform::RegTerminator::Omit);
    key.SetString("DesktopPath", "C:\\Palm", platform::RegTerminator::Omit);
    key.SetString("UpdateUrl1", "http://one.example/", platform::RegTerminator::Omit);
    key.SetString("UpdateUrl2", "http://two.example/", platform::RegTerminator::Omit);
    key.SetString("UpdateUrl3", "http://three.example/", platform::RegTerminator::Omit);
  }

  std::unique_ptr<SettingsHostWindow> OpenWindow() {
    EXPECT_EQ(session_.Open(kDefaultProgId), S_OK);
    auto window = std::make_unique<SettingsHostWindow>(session_);
    window->show();
    QApplication::processEvents();
    return window;
  }

  template <typename T>
  static T* Find(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  static QTreeWidgetItem* Row(QWidget* window, const char* text) {
    auto* tree = window->findChild<QTreeWidget*>("control-1213");
    const auto found =
        tree->findItems(QString::fromLatin1(text), Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
  }

  comtest::DesktopRegistryHome home_;
  SettingsSession session_;
};

TEST_F(HostTest, TheWindowShowsThePageWithItsTitleIconAndDescription) {
  StoreSample();
  auto window = OpenWindow();
  ASSERT_EQ(window->pageCount(), 1);
  auto* tabs = window->findChild<QTabWidget*>();
  EXPECT_EQ(tabs->tabText(0), "Conduit Properties");
  EXPECT_FALSE(tabs->tabIcon(0).isNull());
  EXPECT_EQ(Find<QLabel>(window.get(), "description")->text(), "This is a Page Description");
  EXPECT_NE(Find<QWidget>(window.get(), "page-1204"), nullptr);
}

TEST_F(HostTest, ValuesFromTheRegistryAreEditedAndWrittenBackByOk) {
  StoreSample();
  auto window = OpenWindow();
  auto* wait = Find<QSpinBox>(window.get(), "item-08010003");
  ASSERT_NE(wait, nullptr);
  EXPECT_EQ(wait->value(), 5);  // the low 16 bits of 0x00030005
  auto* action = Find<QComboBox>(window.get(), "item-07010005");
  EXPECT_EQ(action->currentText(), "Update Now");
  auto* zepp = Find<QLineEdit>(window.get(), "item-28010006");
  EXPECT_EQ(zepp->text(), "C:\\Quill");
  auto* list = Find<treecontrol::TextListEditor>(window.get(), "item-68010001");
  EXPECT_EQ(list->Texts(),
            (QStringList{"http://one.example/", "http://two.example/", "http://three.example/"}));

  wait->setValue(90);
  action->setCurrentIndex(0);
  Row(window.get(), "Show Dialog")->setCheckState(0, Qt::Unchecked);
  zepp->setText("C:\\Quill\\New");
  window->accept();

  EXPECT_EQ(Dword("SyncWaitTime"), 0x0003005Au);  // only the low 16 bits replaced
  EXPECT_EQ(Dword("DefaultAction"), 0x200u);      // only the lowest byte
  EXPECT_EQ(Dword("SyncShowDlg"), 0u);
  EXPECT_EQ(Dword("DaysBetweenUpdate"), 3u);
  EXPECT_EQ(Text("ZEPPDir"), "C:\\Quill\\New");
  EXPECT_EQ(Text("DesktopPath"), "C:\\Palm");
  EXPECT_EQ(Text("UpdateUrl1"), "http://one.example/");
  EXPECT_EQ(Text("UpdateUrl2"), "http://two.example/");
  EXPECT_EQ(Text("UpdateUrl3"), "http://three.example/");
  EXPECT_EQ(Text("UpdateUrl4"), "<missing>");
  EXPECT_EQ(CoLoadedServerCount(), 0u);  // the pages deleted, the object released
}

TEST_F(HostTest, CancelWritesNothing) {
  StoreSample();
  const auto before = comtest::Snapshot(platform::HKEY_LOCAL_MACHINE, "");
  auto window = OpenWindow();
  Find<QSpinBox>(window.get(), "item-08010003")->setValue(90);
  window->reject();
  EXPECT_EQ(comtest::Snapshot(platform::HKEY_LOCAL_MACHINE, ""), before);
}

TEST_F(HostTest, WithoutTheComponentKeyThePageShowsTheDefaultsAndWritesNothing) {
  auto window = OpenWindow();
  EXPECT_EQ(Find<QSpinBox>(window.get(), "item-08010003")->value(), 5);
  EXPECT_EQ(Find<QComboBox>(window.get(), "item-07010005")->currentIndex(), 2);
  EXPECT_EQ(Row(window.get(), "Show Dialog")->checkState(0), Qt::Checked);
  EXPECT_EQ(Find<QLineEdit>(window.get(), "item-28010006")->text(), palmsettings::kDefaultZeppDir);
  EXPECT_EQ(Find<QLineEdit>(window.get(), "item-28010007")->text(),
            palmsettings::kDefaultDesktopPath);
  EXPECT_TRUE(Find<treecontrol::TextListEditor>(window.get(), "item-68010001")->Texts().isEmpty());
  Find<QSpinBox>(window.get(), "item-08010003")->setValue(90);
  window->accept();
  EXPECT_TRUE(comtest::Snapshot(platform::HKEY_LOCAL_MACHINE, "").empty());
}

TEST_F(HostTest, ThePageStretchesItsTreeControlWhenItGrows) {
  auto window = OpenWindow();
  auto* page = Find<QWidget>(window.get(), "page-1204");
  auto* tree = Find<QWidget>(window.get(), "control-1213");
  window->resize(window->width() + 120, window->height() + 80);
  QApplication::processEvents();
  EXPECT_EQ(tree->geometry().topLeft(), QPoint(0, 0));
  EXPECT_EQ(tree->geometry().size(), page->size());
  EXPECT_GT(page->width(), 300);
}

TEST_F(HostTest, AnUnregisteredObjectIsReported) {
  ASSERT_EQ(CallSelfRegistration(QRX_MODULE, RegistrationCall::Unregister).stage,
            SelfRegistrationResult::Done);
  EXPECT_EQ(session_.Open(kDefaultProgId), CO_E_CLASSSTRING);
  EXPECT_FALSE(session_.isOpen());
}

TEST_F(HostTest, WithoutTheTreeControlThePageIsEmptyAndWritesOnlyWhatItRead) {
  ASSERT_EQ(CallSelfRegistration(TREE_CONTROL_MODULE, RegistrationCall::Unregister).stage,
            SelfRegistrationResult::Done);
  StoreSample();
  const auto before = comtest::Snapshot(platform::HKEY_LOCAL_MACHINE, "");
  auto window = OpenWindow();
  EXPECT_EQ(window->pageCount(), 1);
  EXPECT_EQ(window->findChild<QTreeWidget*>(), nullptr);
  window->accept();
  EXPECT_EQ(comtest::Snapshot(platform::HKEY_LOCAL_MACHINE, ""), before);
}

TEST_F(HostTest, ALivePageKeepsTheModuleLoadedUntilItIsDeleted) {
  const std::string path = std::filesystem::weakly_canonical(QRX_MODULE).string();
  QWidget parent;
  ComPtr<qrx::IQrxConfigurator> object;
  ASSERT_EQ(CoCreateInstance(qrx::CLSID_QrxConfigurator, nullptr, CLSCTX_INPROC_SERVER,
                             qrx::IID_IQrxConfigurator, object.Put()),
            S_OK);
  HWND page = object->PageCreate(qrx::HandleFromWidget(&parent), 0, 0, 0);
  ASSERT_NE(page, nullptr);
  QPointer<QWidget> window = qrx::WidgetFromHandle(page);
  object.Reset();
  CoFreeUnusedLibraries();
  EXPECT_TRUE(CoIsServerLoaded(path));  // no object, no lock, but a page

  ASSERT_EQ(CoCreateInstance(qrx::CLSID_QrxConfigurator, nullptr, CLSCTX_INPROC_SERVER,
                             qrx::IID_IQrxConfigurator, object.Put()),
            S_OK);
  HWND pages[] = {page, nullptr};
  EXPECT_EQ(object->DeletePages(pages), 0);
  EXPECT_TRUE(window.isNull());
  object.Reset();
  CoFreeUnusedLibraries();
  EXPECT_FALSE(CoIsServerLoaded(path));
}

TEST_F(HostTest, APageWhoseParentWentFirstIsStillCollectedAndDeleted) {
  StoreSample();
  ComPtr<qrx::IQrxConfigurator> object;
  ASSERT_EQ(CoCreateInstance(qrx::CLSID_QrxConfigurator, nullptr, CLSCTX_INPROC_SERVER,
                             qrx::IID_IQrxConfigurator, object.Put()),
            S_OK);
  auto parent = std::make_unique<QWidget>();
  HWND page = object->PageCreate(qrx::HandleFromWidget(parent.get()), 0, 0, 0);
  ASSERT_NE(page, nullptr);
  qrx::WidgetFromHandle(page)->findChild<QSpinBox*>("item-08010003")->setValue(77);
  parent.reset();  // the host's window, with the page's, is gone
  HWND pages[] = {page, nullptr};
  EXPECT_EQ(object->GetDataFromPages(nullptr, pages), 0);
  EXPECT_EQ(Dword("SyncWaitTime"), 0x0003004Du);
  EXPECT_EQ(object->DeletePages(pages), 0);
  EXPECT_EQ(object->PageCreate(page, 0, 0, 0), nullptr);  // a stale handle is no parent
}

TEST(HostOptions, ReadsTheCommandLine) {
  HostOptions options;
  std::string error;
  ASSERT_TRUE(ParseHostOptions({"--register", "--register-module", "X.dll", "--prog-id", "A.B",
                                "--screenshot", "s.png", "--accept"},
                               &options, &error));
  EXPECT_EQ(options.registerModules,
            (std::vector<std::string>{"QmTreeCtrl.dll", "QrxCfgObject.dll", "X.dll"}));
  EXPECT_EQ(options.progId, "A.B");
  EXPECT_EQ(options.screenshot, "s.png");
  EXPECT_TRUE(options.accept);
  HostOptions bad;
  EXPECT_FALSE(ParseHostOptions({"--prog-id"}, &bad, &error));
  EXPECT_EQ(error, "--prog-id needs a value");
  EXPECT_FALSE(ParseHostOptions({"--accept", "--cancel"}, &bad, &error));
  EXPECT_FALSE(ParseHostOptions({"--bogus"}, &bad, &error));
  EXPECT_EQ(error, "unknown argument --bogus");
}

// The program itself: registers, shows, presses OK; the exit code tells.
class HostProgramTest : public ::testing::Test {
 protected:
  int Run(const std::string& args) {
    // The host unloads the object's module at the end; the platform's
    // never-freed registry caches inside it then count as leaks for the
    // sanitizer build, so its leak check is off for the child.
    const std::string command = "env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 '" +
                                std::string(HOST_PROGRAM) + "' " + args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  comtest::DesktopRegistryHome home_;
};

TEST_F(HostProgramTest, RegistersShowsAndEndsWithTheButtonPressed) {
  EXPECT_EQ(Run("--prog-id Qrx.QrxConfigurator --accept"), 3);  // not registered yet
  const std::string shot = home_.folder().Path("host.png");
  EXPECT_EQ(Run("--register --screenshot '" + shot + "'"), 1);  // shown, then cancelled
  EXPECT_GT(std::filesystem::file_size(shot), 1000u);
  EXPECT_EQ(Run("--accept"), 0);
  EXPECT_TRUE(comtest::Snapshot(platform::HKEY_LOCAL_MACHINE, "").empty());  // no key, none made
  EXPECT_EQ(Run("--cancel --accept"), 2);
}

}  // namespace
}  // namespace settingshost
