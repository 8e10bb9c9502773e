// Test fixture: a HotSync session for user "Ann" over the stand-in libraries, the settings key,
// the update folder C:\ZEPP\LastUpdate, and a scripted conduit UI.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conduit/dialogs/HeadlessUi.h"
#include "conduit/dialogs/NoticeDialog.h"
#include "conduit/dialogs/SyncActionDialog.h"
#include "conduit/dialogs/UpdateProgressDialog.h"
#include "conduit/pdb/PdbDatabase.h"
#include "conduit/sync/Synchronisation.h"
#include "outside/hslog20/HsLog20Library.h"
#include "outside/sync20/Sync20Library.h"
#include "palmsettings/tests/SettingsTest.h"
#include "platform/ScriptedPrompt.h"

namespace conduit::testing {

// SyncChoice: what the user does in the sync-time dialog.
enum class SyncChoice { Wait, Now, Cancel };

// ShownNotice: one notice as the conduit showed it.
struct ShownNotice {
  std::string caption;
  std::string text;
  std::string firstOkText;  // the OK button's text when it opened
};

// TestUi: the headless dialogs, with the sync-time choice scripted and what
// was shown kept.
class TestUi final : public HeadlessUi {
 public:
  explicit TestUi(platform::Prompt& prompt) : HeadlessUi(prompt, nullptr) {}

  void Run(SyncActionDialog& dialog) override;
  void Run(UpdateProgressDialog& dialog) override;
  void Run(NoticeDialog& dialog) override;
  using HeadlessUi::Run;

  SyncChoice choice = SyncChoice::Wait;
  int syncDialogs = 0;
  std::string countText;  // what the sync-time dialog showed
  std::string dateText;
  std::vector<int32_t> progressModes;
  std::vector<ShownNotice> notices;
};

// SyncSettings: what Configure stores in the component key.
struct SyncSettings {
  std::vector<std::string> addresses = {};
  std::vector<std::string> files{"ZEPDB.pdb", "ZEPVE.pdb"};
  uint32_t showDialog = 1;
  int32_t days = 7;
  int32_t lastUpdate = 0;
};

class SyncTest : public palmsettings::testing::SettingsTest {
 protected:
  static constexpr int64_t kNow = 1700000000;

  void SetUp() override;
  void TearDown() override;

  // Configure: the component key with ZEPPDir C:\ZEPP, DesktopPath C:\Palm
  // and `settings`.
  void Configure(const SyncSettings& settings);
  // SetTasksKey: makes the "Tasks" subkey exist.
  static void SetTasksKey();

  // BaseDatabase: a virus base "ZEPDB": record 0 with `stamp` and the date
  // 2 / 14 / 2003, `viruses` records starting with 1 and one that does not.
  static PdbDatabase BaseDatabase(uint32_t stamp, int viruses, std::string_view name = "ZEPDB");
  void PutOnHandheld(const PdbDatabase& db);
  PdbDatabase OnHandheld(std::string_view name);
  // PutUpdateFile: a database as C:\ZEPP\LastUpdate\<file>.
  void PutUpdateFile(std::string_view file, const PdbDatabase& db);
  std::string UpdateFile(std::string_view file) const {
    return Host("ZEPP/LastUpdate/" + std::string(file));
  }

  // LogLines: the HotSync log's lines.
  std::vector<std::string> LogLines() const;

  // Run: OpenConduit's work with this fixture's libraries, UI, clock and
  // starter. `record` stands for the library's own record.
  int32_t Run(int32_t syncType = 0);

  sync20::Sync20Library sync_;
  hslog20::HsLog20Library log_;
  platform::ScriptedPrompt prompt_;
  TestUi ui_{prompt_};
  palmsettings::PalmSettings record_;
  int64_t now_ = kNow;
  // starts: each start of the downloader (its ZEPPDir); startResult is what
  // the start answers.
  std::vector<std::string> starts_;
  uint32_t startResult_ = 0;
  ProgressOptions progress_{60000, {5000, 5000}};
};

}  // namespace conduit::testing
