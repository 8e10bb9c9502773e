// The emulated handheld's files: names that map to plain file names, atomic stores, installs.
#include "outside/sync20/Handheld.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "outside/sync20/Sync20Api.h"
#include "platform/testing/TempFolder.h"

namespace {

using platform::testing::TempFolder;

conduit::PdbDatabase Database(std::string_view name, std::vector<std::string> records) {
  conduit::PdbDatabase db;
  db.SetName(name);
  uint32_t id = 1;
  for (const auto& r : records) db.records.push_back({0x40, id++, {r.begin(), r.end()}});
  return db;
}

class HandheldFiles : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("QM_HANDHELD", home_.Path("handheld").c_str(), 1); }
  TempFolder home_{"qm-handheld"};
};

TEST_F(HandheldFiles, AnyNameMapsToOnePlainFileNameAndBack) {
  for (std::string name : {"ZEPDB", "a/b", ".hidden", "..", "50%", "Memo\\Pad", "x\n"}) {
    const std::string file = sync20::FileNameFor(name);
    EXPECT_EQ(file.find('/'), std::string::npos) << name;
    EXPECT_EQ(file.find('\\'), std::string::npos) << name;
    EXPECT_NE(file.front(), '.') << name;
    std::string installed;
    const std::string source = home_.Path("source.pdb");
    const auto bytes = conduit::SerializePdb(Database(name, {"r"}));
    home_.Write("source.pdb", std::span<const uint8_t>(bytes));
    ASSERT_EQ(sync20::InstallFile("Ann", source, installed), 0) << name;
    EXPECT_EQ(installed, name);
  }
  const auto names = sync20::ListDatabases("Ann");
  EXPECT_EQ(names,
            (std::vector<std::string>{"..", ".hidden", "50%", "Memo\\Pad", "ZEPDB", "a/b", "x\n"}));
  EXPECT_EQ(sync20::UserFolder("../x"), home_.Path("handheld/%2E.%2Fx"));
}

TEST_F(HandheldFiles, StoreReplacesTheFileWholeAndLoadReadsItBack) {
  const std::string path = home_.Path("db.pdb");
  ASSERT_EQ(sync20::StoreDatabase(path, Database("One", {"a", "bb"})), 0);
  ASSERT_EQ(sync20::StoreDatabase(path, Database("One", {"ccc"})), 0);
  conduit::PdbDatabase back;
  ASSERT_EQ(sync20::LoadDatabase(path, back), 0);
  ASSERT_EQ(back.records.size(), 1u);
  EXPECT_EQ(std::string(back.records[0].data.begin(), back.records[0].data.end()), "ccc");
  EXPECT_EQ(sync20::ListDatabases("nobody"), std::vector<std::string>{});
}

TEST_F(HandheldFiles, AFailedStoreKeepsTheOldFileAndLeavesNoTemporary) {
  const std::string path = home_.Path("db.pdb");
  ASSERT_EQ(sync20::StoreDatabase(path, Database("One", {"old"})), 0);
  const std::string before = TempFolder::Read(path);
  // A folder where the temporary file would go makes the store fail.
  home_.MakeFolder(".db.pdb.new");
  EXPECT_NE(sync20::StoreDatabase(path, Database("One", {"new"})), 0);
  EXPECT_EQ(TempFolder::Read(path), before);
}

TEST_F(HandheldFiles, DamagedOrMissingFilesAreToldApart) {
  conduit::PdbDatabase db;
  EXPECT_EQ(sync20::LoadDatabase(home_.Path("missing.pdb"), db), 2);
  home_.Write("short.pdb", "too short");
  EXPECT_EQ(sync20::LoadDatabase(home_.Path("short.pdb"), db), kSyncErrDamaged);
  std::string installed;
  EXPECT_EQ(sync20::InstallFile("Ann", home_.Path("short.pdb"), installed), kSyncErrDamaged);
  // A database without a name cannot be installed: nothing could open it.
  const auto bytes = conduit::SerializePdb(Database("", {"r"}));
  home_.Write("noname.pdb", std::span<const uint8_t>(bytes));
  EXPECT_EQ(sync20::InstallFile("Ann", home_.Path("noname.pdb"), installed), kSyncErrDamaged);
}

}  // namespace
