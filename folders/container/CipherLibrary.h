// The cipher library bound at run time: one cipher's three functions.
#pragma once

#include <cstdint>
#include <span>

#include "platform/Module.h"

namespace folders {

// Results of Load, as the container and mount operations report them.
inline constexpr int kCipherLibraryMissing = -1;
inline constexpr int kCipherNotSupported = -2;

// CipherPrefix: the export prefix of a cipher number ("RC4_", "RC5_", "RC6_",
// "RJ128_", "RJ256_"), or null for a number without a cipher.
const char* CipherPrefix(uint16_t cipherNumber);

// CipherLibrary: "ZSCrypt.dll" loaded by name (program folder, then the
// device's "\Windows" folder, then the usual module search) with the
// functions of one cipher looked up by prefix plus "CreateKey", "Encrypt",
// "Decrypt". The library is unloaded by Unload() or the destructor.
class CipherLibrary {
 public:
  // Load: 0, kCipherLibraryMissing, or kCipherNotSupported (the library is
  // then released again).
  int Load(uint16_t cipherNumber);
  void Unload();

  // CreateKey / Encrypt / Decrypt: the cipher's calls; keyObject is a
  // caller-owned 1024-byte buffer. Each returns the library's int result.
  int CreateKey(std::span<const uint8_t> key, uint8_t* keyObject) const;
  int Encrypt(std::span<uint8_t> data, uint8_t* keyObject) const;
  int Decrypt(std::span<uint8_t> data, uint8_t* keyObject) const;

  bool loaded() const { return createKey_ != nullptr; }

 private:
  using Function = int (*)(uint8_t*, uint32_t, uint8_t*);
  platform::Module module_;
  Function createKey_ = nullptr;
  Function encrypt_ = nullptr;
  Function decrypt_ = nullptr;
};

}  // namespace folders
