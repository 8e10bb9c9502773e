// The Configure Updater and Download windows offscreen, downloading from a server on 127.0.0.1.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QThread>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/Text.h"
#include "scanner/ui/dialogs/ScannerDialogs.h"
#include "scanner/ui/dialogs/tests/DialogDriver.h"
#include "scanner/updater/UpdaterSettings.h"
#include "scanner/updater/tests/UpdaterFixture.h"

namespace scanner_dialogs {
namespace {

using scanner::testing::HttpReply;
using testing::Child;
using testing::Click;
using testing::LastingOffscreenApp;
using testing::PressEscape;
using testing::SpinUntil;
using testing::WhenModal;

constexpr char kConfigure[] = "configureUpdaterDialog";
constexpr char kDownload[] = "downloadDialog";
constexpr char kCannotDownload[] = "Cannot download new anti-virus database.";

// GuiPrompt: answers OK on the GUI thread, as the window's prompt does; a
// call from a worker waits for the GUI thread. The worker's "Signature
// INVALID" is held until the test lets it go, so that it arrives while the
// GUI thread is waiting for the worker.
class GuiPrompt : public platform::Prompt {
 public:
  using platform::Prompt::Show;
  int Show(std::string_view text, std::string_view, uint32_t) override {
    if (QThread::currentThread() != qApp->thread() && text == "Signature INVALID") {
      inPrompt = true;
      for (int i = 0; i < 60000 && !release; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the escape goes first
    }
    const std::string shown(text);
    auto record = [this, shown] { texts.push_back(shown); };
    if (QThread::currentThread() == qApp->thread())
      record();
    else
      QMetaObject::invokeMethod(qApp, record, Qt::BlockingQueuedConnection);
    return platform::IDOK;
  }
  std::atomic<bool> inPrompt{false};
  std::atomic<bool> release{false};
  std::vector<std::string> texts;  // on the GUI thread only
};

class UpdaterWindowsTest : public scanner::testing::UpdaterFixture {
 protected:
  void SetUp() override {
    UpdaterFixture::SetUp();
    LastingOffscreenApp();
    options_.pauseMs = 0;
    options_.limits = {5000, 5000};
  }

  std::vector<std::string> Stored() {
    scanner::UpdaterState updater;
    EXPECT_EQ(scanner::LoadUpdaterSettings(updater), 0u);
    std::vector<std::string> urls;
    for (int32_t i = 0; i < updater.urlCount; ++i)
      urls.push_back(platform::Utf16ToUtf8(platform::FieldText(updater.urls[i])));
    return urls;
  }
  static std::vector<std::string> Listed(QWidget* dialog) {
    std::vector<std::string> urls;
    auto* list = Child<QListWidget>(dialog, "1075");
    for (int i = 0; i < list->count(); ++i) urls.push_back(list->item(i)->text().toStdString());
    return urls;
  }
  static void Add(QWidget* dialog, const QString& url) {
    Child<QLineEdit>(dialog, "1076")->setText(url);
    Click(dialog, "1079");
  }
  bool RequestedPath(const std::string& path) const {
    for (const auto& request : server_.Requests())
      if (request.path == path) return true;
    return false;
  }
  int RunConfigure() { return RunConfigureUpdaterDialog(nullptr, scanner_, prompt_, options_); }

  scanner::Scanner scanner_;
  DownloadOptions options_;
};

TEST_F(UpdaterWindowsTest, ConfigureShowsTheStoredListAndItsNumberedTexts) {
  StoreUrls({"http://a.example/", "http://b.example"});
  auto watch = WhenModal(kConfigure, [](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "Updater");
    EXPECT_EQ(Child<QLabel>(dialog, "heading")->text(), "Configure Updater");
    EXPECT_EQ(Child<QPushButton>(dialog, "1077")->text(), "Get Update");
    EXPECT_EQ(Child<QPushButton>(dialog, "1078")->text(), "Remove");
    EXPECT_EQ(Child<QPushButton>(dialog, "1079")->text(), "Add");
    EXPECT_EQ(Child<QPushButton>(dialog, "2")->text(), "Cancel");
    EXPECT_EQ(Listed(dialog), (std::vector<std::string>{"http://a.example/", "http://b.example/"}));
    auto* list = Child<QListWidget>(dialog, "1075");
    list->setCurrentRow(1);
    EXPECT_EQ(Child<QLineEdit>(dialog, "1076")->text(), "http://b.example/");
    Click(dialog, "2");
  });
  EXPECT_EQ(RunConfigure(), 0);
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(UpdaterWindowsTest, ConfigureOverAnUnreadableRegistryShows121AndAnEmptyList) {
  StoreUrls({"http://a.example/"});
  BreakRegistry();
  auto watch = WhenModal(kConfigure, [this](QWidget* dialog) {
    ASSERT_EQ(prompt_.count(), 1u);  // shown before the window opened
    EXPECT_EQ(prompt_.last().text, "Error reading updater's settings from registry!");
    EXPECT_TRUE(Listed(dialog).empty());
    EXPECT_EQ(dialog->focusWidget(), Child<QLineEdit>(dialog, "1076"));
    Click(dialog, "2");
  });
  EXPECT_EQ(RunConfigure(), 0);
}

TEST_F(UpdaterWindowsTest, ConfigureAddRefusesDuplicatesAndAnEleventhAddress) {
  auto watch = WhenModal(kConfigure, [this](QWidget* dialog) {
    Add(dialog, "  http://one.example  ");
    EXPECT_EQ(Listed(dialog), (std::vector<std::string>{"http://one.example"}));
    EXPECT_EQ(Child<QLineEdit>(dialog, "1076")->text(), "");
    Add(dialog, "HTTP://ONE.example/");
    EXPECT_EQ(prompt_.last().text, "Duplicate Url!");
    EXPECT_EQ(prompt_.last().caption, "Error!");
    for (int i = 2; i <= 10; ++i) Add(dialog, QString("http://n%1.example/").arg(i));
    EXPECT_EQ(Listed(dialog).size(), 10u);
    Add(dialog, "http://eleven.example/");
    EXPECT_EQ(prompt_.last().text, "Too many Urls");
    EXPECT_EQ(Listed(dialog).size(), 10u);
    EXPECT_EQ(prompt_.count(), 2u);
    Click(dialog, "2");
  });
  EXPECT_EQ(RunConfigure(), 0);
  EXPECT_TRUE(Stored().empty());  // Cancel keeps the stored list
}

TEST_F(UpdaterWindowsTest, ConfigureRemoveThenOkStoresTheList) {
  StoreUrls({"http://a.example/", "http://b.example/", "http://c.example/"});
  auto watch = WhenModal(kConfigure, [](QWidget* dialog) {
    Click(dialog, "1078");  // nothing selected: nothing removed
    EXPECT_EQ(Listed(dialog).size(), 3u);
    Child<QListWidget>(dialog, "1075")->setCurrentRow(1);
    Click(dialog, "1078");
    EXPECT_EQ(Listed(dialog), (std::vector<std::string>{"http://a.example/", "http://c.example/"}));
    EXPECT_EQ(Child<QLineEdit>(dialog, "1076")->text(), "");
    Add(dialog, "http://d.example");
    Click(dialog, "1");
  });
  EXPECT_EQ(RunConfigure(), 1);
  EXPECT_EQ(Stored(), (std::vector<std::string>{"http://a.example/", "http://c.example/",
                                                "http://d.example/"}));
}

TEST_F(UpdaterWindowsTest, ConfigureOkThatCannotWriteKeepsTheDialogOpen) {
  auto watch = WhenModal(kConfigure, [this](QWidget* dialog) {
    Add(dialog, "http://a.example/");
    BreakRegistry();
    Click(dialog, "1");
    EXPECT_EQ(prompt_.last().text, "Error writing settings in registry");
    EXPECT_EQ(prompt_.last().caption, "Error!");
    EXPECT_EQ(QApplication::activeModalWidget(), dialog);
    Click(dialog, "2");
  });
  EXPECT_EQ(RunConfigure(), 0);
}

TEST_F(UpdaterWindowsTest, GetUpdateIsRefusedWhileAScanRuns) {
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase()));
  StoreUrls({server_.Url("/")});
  scanner_.state = scanner::kRunning;
  auto watch = WhenModal(kConfigure, [this](QWidget* dialog) {
    Click(dialog, "1077");
    EXPECT_EQ(prompt_.last().text, "Scanner is running.Cannot update bases.");
    EXPECT_EQ(prompt_.last().caption, "Error");
    EXPECT_EQ(QApplication::activeModalWidget(), dialog);
    Click(dialog, "2");
  });
  RunConfigure();
  scanner_.state = scanner::kIdle;
  EXPECT_EQ(prompt_.count(), 1u);
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(UpdaterWindowsTest, GetUpdateDownloadsWithTheListAsOpened) {
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase()));
  StoreUrls({server_.Url("/")});
  auto watch = WhenModal(kConfigure, [](QWidget* dialog) {
    Add(dialog, "http://later.example/");  // counts only after OK
    Click(dialog, "1077");                 // runs the Download window to its end
    Click(dialog, "2");
  });
  RunConfigure();
  EXPECT_EQ(prompt_.count(), 0u);
  EXPECT_EQ(Read(Bases()), GoodBase());
  EXPECT_EQ(Stored(), (std::vector<std::string>{server_.Url("/")}));
}

TEST_F(UpdaterWindowsTest, MenuUpdateIsRefusedWithMessage122WhileAScanRuns) {
  StoreUrls({server_.Url("/")});
  scanner_.state = scanner::kPaused;
  EXPECT_EQ(RunDownloadFromMenu(nullptr, scanner_, prompt_, options_), scanner::kWrongState);
  scanner_.state = scanner::kIdle;
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Scanner is running.Cannot update database.");
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(UpdaterWindowsTest, DownloadCancelEndsAfterTheAddressInProgressWith123) {
  Put("device/Bases/ZEPBase.zvb", "old base");
  server_.Serve("/a/ZEPBase.zvb", HttpReply("<HTML>busy</HTML>").HeaderDelay(300));
  server_.Serve("/b/ZEPBase.zvb", HttpReply(GoodBase()));
  StoreUrls({server_.Url("/a/"), server_.Url("/b/")});
  auto watch = WhenModal(kDownload, [this](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "Downloading");
    EXPECT_EQ(Child<QPushButton>(dialog, "2")->text(), "Cancel");
    auto* status = Child<QLabel>(dialog, "1081");
    const QString first = QString::fromStdString(server_.Url("/a/"));
    ASSERT_TRUE(SpinUntil([&] { return status->text() == first; }));
    Click(dialog, "2");
    EXPECT_EQ(dialog->windowTitle(), "Cancelling...");
  });
  EXPECT_EQ(RunDownloadFromMenu(nullptr, scanner_, prompt_, options_), scanner::kDownloadCancelled);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, kCannotDownload);
  EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus");
  EXPECT_TRUE(RequestedPath("/a/ZEPBase.zvb"));
  EXPECT_FALSE(RequestedPath("/b/ZEPBase.zvb"));
  EXPECT_EQ(Read(Bases()), "old base");
}

TEST_F(UpdaterWindowsTest, DownloadEscapeAbortsTheTransferAtOnce) {
  Put("device/Bases/ZEPBase.zvb", "old base");
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase(50 * 1024)).Pieces(1024, 200));
  StoreUrls({server_.Url("/")});
  auto watch = WhenModal(kDownload, [](QWidget* dialog) {
    auto* bar = Child<QProgressBar>(dialog, "1080");
    ASSERT_TRUE(SpinUntil([&] { return bar->value() > bar->minimum(); }));
    PressEscape(dialog);
    EXPECT_EQ(dialog->windowTitle(), "Cancelling...");
  });
  EXPECT_EQ(RunDownloadFromMenu(nullptr, scanner_, prompt_, options_), scanner::kDownloadCancelled);
  EXPECT_EQ(prompt_.last().text, kCannotDownload);
  EXPECT_EQ(Read(Bases()), "old base");
  EXPECT_TRUE(NoLeftovers());
}

TEST_F(UpdaterWindowsTest, EscapeWhileTheWorkerAsksOnTheGuiThreadStillEnds) {
  server_.Serve("/ZEPBase.zvb", HttpReply(BadBase()));
  StoreUrls({server_.Url("/")});
  GuiPrompt prompt;
  auto watch = WhenModal(kDownload, [&prompt](QWidget* dialog) {
    ASSERT_TRUE(SpinUntil([&] { return prompt.inPrompt.load(); }));
    prompt.release = true;
    PressEscape(dialog);  // waits for the worker, which waits to ask here
  });
  EXPECT_NE(RunDownloadFromMenu(nullptr, scanner_, prompt, options_), scanner::kDownloadDone);
  EXPECT_EQ(prompt.texts, (std::vector<std::string>{"Signature INVALID", kCannotDownload}));
  EXPECT_TRUE(NoLeftovers());
}

}  // namespace
}  // namespace scanner_dialogs
