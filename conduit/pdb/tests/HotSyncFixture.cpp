// Test support: the HotSync session fixture and .pdb builders.
#include "conduit/pdb/tests/HotSyncFixture.h"

#include <cstdlib>

#include "outside/sync20/Handheld.h"

namespace conduit::testing {

std::vector<uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

PdbDatabase MakeDatabase(std::string_view name, const std::vector<std::string>& records,
                         const std::vector<uint8_t>& attributes) {
  PdbDatabase db;
  db.SetName(name);
  for (size_t i = 0; i < records.size(); ++i) {
    const uint8_t attr = i < attributes.size() ? attributes[i] : 0x40;
    db.records.push_back({attr, static_cast<uint32_t>(0x100 + i), Bytes(records[i])});
  }
  return db;
}

void HotSyncSession::SetUp() {
  ::setenv("QM_HOME", home_.path().c_str(), 1);
  ::setenv("QM_HANDHELD", home_.Path("handheld").c_str(), 1);
  ::setenv("QM_HOTSYNC_LOG", home_.Path("hotsync.log").c_str(), 1);
  ::setenv("QM_DRIVE_C", home_.MakeFolder("drive_c").c_str(), 1);
  ::unsetenv("QM_HOTSYNC_USER");
  const char* bin = std::getenv("SUITE_BIN");
  const std::vector<std::string> dirs{bin ? bin : "."};
  ASSERT_EQ(sync_.Load(dirs), 0u);
  ASSERT_EQ(log_.Load(dirs), 0u);
  ASSERT_EQ(sync_.BeginSession("Ann"), 0);
  ASSERT_EQ(sync_.RegisterConduit(&conduit_), 0);
  link_ = ConduitLink{&sync_, &log_, &prompt_};
}

void HotSyncSession::TearDown() {
  if (sync_.EndSession) sync_.EndSession();
}

void HotSyncSession::PutOnHandheld(const PdbDatabase& db) {
  ASSERT_EQ(sync20::StoreDatabase(sync20::DatabasePath("Ann", db.Name()), db), 0);
}

PdbDatabase HotSyncSession::OnHandheld(std::string_view name) {
  PdbDatabase db;
  sync20::LoadDatabase(sync20::DatabasePath("Ann", name), db);
  return db;
}

std::string HotSyncSession::WriteFile(std::string_view relative, const PdbDatabase& db) {
  return WriteFile(relative, SerializePdb(db));
}

std::string HotSyncSession::WriteFile(std::string_view relative,
                                      const std::vector<uint8_t>& bytes) {
  return home_.Write(relative, std::span<const uint8_t>(bytes));
}

std::string HotSyncSession::LogText() const {
  return platform::testing::TempFolder::Read(home_.Path("hotsync.log"));
}

}  // namespace conduit::testing
