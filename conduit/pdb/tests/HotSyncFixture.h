// Test support: a HotSync session over the stand-in libraries in a temporary home, and .pdb
// builders.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conduit/pdb/ConduitLink.h"
#include "conduit/pdb/PdbDatabase.h"
#include "platform/ScriptedPrompt.h"
#include "platform/testing/TempFolder.h"

namespace conduit::testing {

// Bytes: the bytes of a text.
std::vector<uint8_t> Bytes(std::string_view text);

// MakeDatabase: a database with one record per text, each with the given
// attributes (0x40 when none are given) and ids from 0x100.
PdbDatabase MakeDatabase(std::string_view name, const std::vector<std::string>& records,
                         const std::vector<uint8_t>& attributes = {});

// HotSyncSession: QM_HOME, the handheld, the log and drive C in a temporary
// folder; the stand-in libraries loaded; a session for user "Ann" with a
// registered conduit. `link` ties them together with a scripted prompt.
class HotSyncSession : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // PutOnHandheld: stores a database on Ann's handheld.
  void PutOnHandheld(const PdbDatabase& db);
  // OnHandheld: the database of that name on Ann's handheld (empty when
  // missing).
  PdbDatabase OnHandheld(std::string_view name);
  // WriteFile: a .pdb file in the temporary home; returns its host path.
  std::string WriteFile(std::string_view relative, const PdbDatabase& db);
  std::string WriteFile(std::string_view relative, const std::vector<uint8_t>& bytes);
  // LogText: what the HotSync log holds.
  std::string LogText() const;

  platform::testing::TempFolder home_{"qm-pdb"};
  sync20::Sync20Library sync_;
  hslog20::HsLog20Library log_;
  platform::ScriptedPrompt prompt_;
  ConduitLink link_;
  SyncConduitHandle conduit_ = 0;
};

}  // namespace conduit::testing
