// The synchronisation fixture: session, settings key, databases and the scripted UI.
#include "conduit/tests/SyncTest.h"

#include <cstdlib>
#include <sstream>

#include "outside/sync20/Handheld.h"
#include "platform/Text.h"

namespace conduit::testing {

void TestUi::Run(SyncActionDialog& dialog) {
  ++syncDialogs;
  dialog.OnInitDialog();
  countText = dialog.Text(SyncActionDialog::kCountField);
  dateText = dialog.Text(SyncActionDialog::kDateField);
  switch (choice) {
    case SyncChoice::Wait:
      while (dialog.end() == DialogEnd::Open) dialog.OnTimer();
      break;
    case SyncChoice::Now:
      dialog.OnRadio(SyncActionDialog::kNowRadio);
      dialog.OnOk();
      break;
    case SyncChoice::Cancel:
      dialog.OnCancel();
      break;
  }
}

void TestUi::Run(UpdateProgressDialog& dialog) {
  progressModes.push_back(dialog.mode());
  HeadlessUi::Run(dialog);
}

void TestUi::Run(NoticeDialog& dialog) {
  dialog.OnInitDialog();
  notices.push_back({dialog.caption(), dialog.text(), dialog.okText()});
  dialog.OnOk();
}

void SyncTest::SetUp() {
  SettingsTest::SetUp();
  ::setenv("QM_HANDHELD", home_.Path("handheld").c_str(), 1);
  ::setenv("QM_HOTSYNC_LOG", home_.Path("hotsync.log").c_str(), 1);
  ::unsetenv("QM_HOTSYNC_USER");
  home_.MakeFolder("drive_c/ZEPP/LastUpdate");
  const char* bin = std::getenv("SUITE_BIN");
  const std::vector<std::string> dirs{bin ? bin : "."};
  ASSERT_EQ(sync_.Load(dirs), 0u);
  ASSERT_EQ(log_.Load(dirs), 0u);
  ASSERT_EQ(sync_.BeginSession("Ann"), 0);
}

void SyncTest::TearDown() {
  if (sync_.EndSession) sync_.EndSession();
  SettingsTest::TearDown();
}

void SyncTest::Configure(const SyncSettings& settings) {
  platform::RegKey key = ComponentKey();
  ASSERT_EQ(key.SetString("ZEPPDir", "C:\\ZEPP"), 0u);
  ASSERT_EQ(key.SetString("DesktopPath", "C:\\Palm"), 0u);
  ASSERT_EQ(key.SetDword("SyncShowDlg", settings.showDialog), 0u);
  ASSERT_EQ(key.SetDword("DaysBetweenUpdate", static_cast<uint32_t>(settings.days)), 0u);
  ASSERT_EQ(key.SetDword("LastUpdate", static_cast<uint32_t>(settings.lastUpdate)), 0u);
  for (size_t i = 0; i < settings.addresses.size(); ++i)
    ASSERT_EQ(key.SetString("UpdateUrl" + std::to_string(i + 1), settings.addresses[i]), 0u);
  for (size_t i = 0; i < settings.files.size(); ++i)
    ASSERT_EQ(key.SetString("File" + std::to_string(i + 1), settings.files[i]), 0u);
}

void SyncTest::SetTasksKey() {
  platform::RegKey key;
  ASSERT_EQ(key.Create(Root(platform::HKEY_LOCAL_MACHINE), palmsettings::kTasksKey), 0u);
}

PdbDatabase SyncTest::BaseDatabase(uint32_t stamp, int viruses, std::string_view name) {
  PdbDatabase db;
  db.SetName(name);
  std::vector<uint8_t> first(28, 0);
  WriteBigEndian32(first.data() + 8, stamp);
  WriteBigEndian16(first.data() + 18, 2);
  WriteBigEndian16(first.data() + 20, 2003);
  WriteBigEndian16(first.data() + 22, 14);
  db.records.push_back({0x40, 1, first});
  for (int i = 0; i < viruses; ++i)
    db.records.push_back({0x40, static_cast<uint32_t>(2 + i), {1, 'V', static_cast<uint8_t>(i)}});
  db.records.push_back({0x40, 99, {2, 'x'}});
  return db;
}

void SyncTest::PutOnHandheld(const PdbDatabase& db) {
  ASSERT_EQ(sync20::StoreDatabase(sync20::DatabasePath("Ann", db.Name()), db), 0);
}

PdbDatabase SyncTest::OnHandheld(std::string_view name) {
  PdbDatabase db;
  sync20::LoadDatabase(sync20::DatabasePath("Ann", name), db);
  return db;
}

void SyncTest::PutUpdateFile(std::string_view file, const PdbDatabase& db) {
  const std::vector<uint8_t> bytes = SerializePdb(db);
  home_.Write("drive_c/ZEPP/LastUpdate/" + std::string(file), std::span<const uint8_t>(bytes));
}

std::vector<std::string> SyncTest::LogLines() const {
  std::istringstream in(platform::testing::TempFolder::Read(home_.Path("hotsync.log")));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

namespace {
void Progress(const char*) {}
}  // namespace

int32_t SyncTest::Run(int32_t syncType) {
  SyncEnvironment environment{ui_,
                              &sync_,
                              &log_,
                              [this] { return now_; },
                              progress_,
                              [this](const palmsettings::PalmSettings& record) {
                                starts_.emplace_back(platform::FieldText(record.ZEPPDir));
                                return startResult_;
                              }};
  ConduitSyncProperties properties{};
  properties.syncType = syncType;
  platform::CopyToField(properties.userName, "Ann");
  return Synchronise(record_, environment, Progress, &properties);
}

}  // namespace conduit::testing
