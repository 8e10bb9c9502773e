// Test fixture: containers on a private device, mounted through the device manager with Secvol.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "cipher/Rc5.h"
#include "cipher/Rc6.h"
#include "cipher/Rijndael.h"
#include "folders/container/ContainerHeader.h"
#include "folders/volumes/MountBlock.h"
#include "outside/devicemanager/tests/ServiceFixture.h"
#include "platform/Text.h"

namespace secvol {

// ReferenceCipher: the cipher code itself, to check what lands on disk.
struct ReferenceCipher {
  int (*createKey)(const uint8_t*, uint32_t, uint8_t*);
  int (*encrypt)(uint8_t*, uint32_t, const uint8_t*);
  int (*decrypt)(uint8_t*, uint32_t, const uint8_t*);
};

inline ReferenceCipher Reference(uint16_t algorithm) {
  switch (algorithm) {
    case folders::kCipherRc5:
      return {cipher::Rc5CreateKey, cipher::Rc5Encrypt, cipher::Rc5Decrypt};
    case folders::kCipherRc6:
      return {cipher::Rc6CreateKey, cipher::Rc6Encrypt, cipher::Rc6Decrypt};
    case folders::kCipherRijndael128:
      return {cipher::Rj128CreateKey, cipher::Rj128Encrypt, cipher::Rj128Decrypt};
    default:
      return {cipher::Rj256CreateKey, cipher::Rj256Encrypt, cipher::Rj256Decrypt};
  }
}

inline const std::u16string kPassword = u"correct horse";

inline std::vector<uint8_t> PasswordBytes(std::u16string_view password) {
  std::vector<uint8_t> bytes;
  for (char16_t c : password) {
    bytes.push_back(static_cast<uint8_t>(c));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

class SecvolTest : public devicemanager::ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    devicemanager::InstallDriver(DeviceRoot(), "Secvol.dll");
  }

  // MakeContainer: a container of `sectors` sectors at the handheld path
  // "\My Documents\<name>", its data area filled with `fill`.
  std::string MakeContainer(const std::string& name, uint32_t sectors, uint16_t algorithm,
                            uint8_t fill = 0xA5) {
    folders::ContainerHeader h{};
    h.formatVersion = folders::kFormatVersion;
    h.sectorCount = sectors;
    h.sectorSize = folders::kSectorSize;
    h.headerConstant = folders::kHeaderConstant;
    h.algorithm = algorithm;
    std::string bytes(reinterpret_cast<const char*>(&h), sizeof h);
    bytes.append(size_t{sectors} * folders::kSectorSize, static_cast<char>(fill));
    Put("device/My Documents/" + name, bytes);
    return "\\My Documents\\" + name;
  }

  // Info: the mount information for a container at a handheld path.
  static std::vector<uint8_t> Info(const std::string& devicePath, uint16_t algorithm,
                                   std::u16string_view password = kPassword) {
    folders::MountInformation m{};
    m.block.record = folders::kMountBlockRecordOffset;
    const auto key = PasswordBytes(password);
    Reference(algorithm).createKey(key.data(), static_cast<uint32_t>(key.size()),
                                   m.block.keyObject);
    platform::CopyToField(m.block.profileName, u"ZSF_TMP");
    m.record.algorithm = algorithm;
    m.record.sizeKb = 1;
    m.record.timeoutSeconds = 120;
    platform::CopyToField(m.record.path, platform::Utf8ToUtf16(devicePath));
    platform::CopyToField(m.record.mountName, u"Secret");
    std::vector<uint8_t> bytes(sizeof m);
    std::memcpy(bytes.data(), &m, sizeof m);
    return bytes;
  }

  // Disk: the raw bytes of sector n in the container file.
  std::vector<uint8_t> Disk(const std::string& name, uint32_t n) {
    std::ifstream f(Host("device/My Documents/" + name), std::ios::binary);
    f.seekg(static_cast<std::streamoff>(folders::SectorOffset(n)));
    std::vector<uint8_t> sector(folders::kSectorSize);
    f.read(reinterpret_cast<char*>(sector.data()), sector.size());
    return sector;
  }
};

}  // namespace secvol
