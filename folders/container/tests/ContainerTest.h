// Test fixture: a temporary device with ZSCrypt reachable, and helpers over container files.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "folders/container/CipherLibrary.h"
#include "folders/container/Container.h"
#include "folders/container/ContainerHeader.h"
#include "folders/container/PasswordChangeHooks.h"
#include "folders/volumes/VolumeRecord.h"
#include "platform/Module.h"
#include "platform/Text.h"
#include "platform/tests/TempDevice.h"

namespace folders::testing {

// BinFolder: where the build put ZSCrypt.so (CTest says so in SUITE_BIN).
inline std::string BinFolder() {
  if (const char* bin = std::getenv("SUITE_BIN"); bin != nullptr && *bin != '\0') return bin;
  return platform::ProgramFolder() + "/../bin";
}

// Le32: the little-endian word at a byte offset of a file's content.
inline uint32_t Le32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = v << 8 | static_cast<uint8_t>(bytes.at(at + k));
  return v;
}

class ContainerTest : public platform::TempDevice {
 protected:
  void SetUp() override {
    TempDevice::SetUp();
    ::setenv("QM_MODULE_PATH", BinFolder().c_str(), 1);
    MakeFolder("device/My Documents");
    SetPasswordChangeHooks({});
  }
  void TearDown() override {
    SetPasswordChangeHooks({});
    ::unsetenv("QM_MODULE_PATH");
    TempDevice::TearDown();
  }

  // Record: a volume record naming "\My Documents\<name>".
  static VolumeRecord Record(std::string_view name, uint16_t cipher, uint32_t timeout = 0) {
    VolumeRecord r{};
    platform::CopyToField(r.path, platform::Utf8ToUtf16("\\My Documents\\" + std::string(name)));
    r.algorithm = cipher;
    r.timeoutSeconds = timeout;
    return r;
  }

  // HostFile: the host path of "\My Documents\<name>".
  std::string HostFile(std::string_view name) const {
    return Host("device/My Documents/" + std::string(name));
  }

  // Contents: the bytes of "\My Documents\<name>".
  std::string Contents(std::string_view name) const { return Read(HostFile(name)); }

  // Reread: the record as ReadContainerHeader fills it from the file.
  static VolumeRecord Reread(const VolumeRecord& record) {
    VolumeRecord r = record;
    EXPECT_EQ(ReadContainerHeader(r, platform::FieldText(record.path)), 1);
    return r;
  }

  // Plaintext: every whole sector of a container's bytes deciphered with the
  // password, each with its own key object, as the driver reads them.
  static std::string Plaintext(const std::string& bytes, uint16_t cipher,
                               std::u16string_view password) {
    CipherLibrary library;
    EXPECT_EQ(library.Load(cipher), 0);
    if (!library.loaded()) return {};
    std::string out;
    for (size_t at = kHeaderSize; at + kSectorSize <= bytes.size(); at += kSectorSize) {
      uint8_t sector[kSectorSize];
      std::memcpy(sector, bytes.data() + at, kSectorSize);
      alignas(8) uint8_t keyObject[1024] = {};
      library.CreateKey(PasswordBytes(password), keyObject);
      library.Decrypt(sector, keyObject);
      out.append(reinterpret_cast<const char*>(sector), kSectorSize);
    }
    return out;
  }
};

}  // namespace folders::testing
