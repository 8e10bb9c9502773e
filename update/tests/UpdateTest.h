// Test fixture: a private desktop (registry, drive C, client-library log and socket) and a local
// HTTP server.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "palmsettings/PalmSettings.h"
#include "platform/testing/HttpTestServer.h"
#include "platform/testing/TempFolder.h"

namespace update::testing {

// kZeppDir: the anti-virus folder the tests configure; the update folder is
// its "LastUpdate" subfolder.
inline constexpr char kZeppDir[] = "C:\\ZEPP";

class UpdateTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Configure: the component key with these addresses and files and ZEPPDir
  // kZeppDir (created on drive C); Load of `record_` follows.
  void Configure(const std::vector<std::string>& addresses, const std::vector<std::string>& files);

  // SetTasksKey: makes the "Tasks" subkey exist (the control centre hears the
  // fetch's reports) or not.
  static void SetTasksKey(bool present);

  // StoredLastUpdate: the LastUpdate value in the registry, if any.
  static std::optional<uint32_t> StoredLastUpdate();

  // Host: the host path of a path below C:\ written with "/".
  std::string Host(std::string_view belowC) const;
  // Current / Staged: the host path of a file in the update folder or its
  // Download subfolder.
  std::string Current(std::string_view name) const {
    return Host("ZEPP/LastUpdate/" + std::string(name));
  }
  std::string Staged(std::string_view name) const {
    return Host("ZEPP/LastUpdate/Download/" + std::string(name));
  }

  // RuviLog: the client library's call lines so far.
  std::vector<std::string> RuviLog() const;

  // Requested: how many requests for `path` the server received.
  size_t Requested(std::string_view path) const;

  // Body: `size` bytes that hold no "HTML", different at each offset.
  static std::string Body(size_t size, char seed = 'a');

  static bool Exists(const std::string& host);
  static std::string Read(const std::string& host);

  std::string bin_;
  platform::testing::TempFolder home_{"qm-update"};
  platform::testing::HttpTestServer server_;
  palmsettings::PalmSettings record_;
};

}  // namespace update::testing
