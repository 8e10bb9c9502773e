// Binds "ZSCrypt.dll" at run time and looks up one cipher's functions by export name.
#include "folders/container/CipherLibrary.h"

#include <string>
#include <vector>

#include "folders/container/ContainerHeader.h"
#include "platform/DevicePath.h"

namespace folders {

namespace {

constexpr const char* kLibraryName = "ZSCrypt.dll";

struct PrefixEntry {
  uint16_t cipherNumber;
  const char* prefix;
};

constexpr PrefixEntry kPrefixes[] = {
    {kCipherRc4, "RC4_"},           {kCipherRc5, "RC5_"},           {kCipherRc6, "RC6_"},
    {kCipherRijndael128, "RJ128_"}, {kCipherRijndael256, "RJ256_"},
};

// DeviceWindowsFolder: the host folder of the handheld's "\Windows", where the
// library is installed; empty when the device has none.
std::vector<std::string> DeviceWindowsFolder() {
  const platform::FilePath windows = platform::ResolveDevicePath(u"\\Windows");
  if (!windows.ok()) return {};
  return {windows.host};
}

}  // namespace

const char* CipherPrefix(uint16_t cipherNumber) {
  for (const auto& entry : kPrefixes)
    if (entry.cipherNumber == cipherNumber) return entry.prefix;
  return nullptr;
}

int CipherLibrary::Load(uint16_t cipherNumber) {
  Unload();
  if (module_.Load(kLibraryName, DeviceWindowsFolder()) != 0) return kCipherLibraryMissing;
  const char* prefix = CipherPrefix(cipherNumber);
  if (prefix != nullptr) {
    const std::string base(prefix);
    createKey_ = module_.Function<Function>((base + "CreateKey").c_str());
    encrypt_ = module_.Function<Function>((base + "Encrypt").c_str());
    decrypt_ = module_.Function<Function>((base + "Decrypt").c_str());
  }
  if (createKey_ == nullptr || encrypt_ == nullptr || decrypt_ == nullptr) {
    Unload();
    return kCipherNotSupported;
  }
  return 0;
}

void CipherLibrary::Unload() {
  createKey_ = encrypt_ = decrypt_ = nullptr;
  module_.Unload();
}

int CipherLibrary::CreateKey(std::span<const uint8_t> key, uint8_t* keyObject) const {
  // The export's key parameter is not const, but no cipher writes its key.
  return createKey_(const_cast<uint8_t*>(key.data()), static_cast<uint32_t>(key.size()), keyObject);
}

int CipherLibrary::Encrypt(std::span<uint8_t> data, uint8_t* keyObject) const {
  return encrypt_(data.data(), static_cast<uint32_t>(data.size()), keyObject);
}

int CipherLibrary::Decrypt(std::span<uint8_t> data, uint8_t* keyObject) const {
  return decrypt_(data.data(), static_cast<uint32_t>(data.size()), keyObject);
}

}  // namespace folders
