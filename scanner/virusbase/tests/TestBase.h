// Helpers for tests: hand-made base bytes and signing with the demo key.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "scanner/virusbase/BaseFormat.h"
#include "tools/zepbase/PrivateKey.h"
#include "tools/zepbase/Signer.h"

namespace scanner::testing {

// DemoKey: the project's private key from the tool's test data (it matches
// the scanner's built-in public key).
inline const zepbase::PrivateKey& DemoKey() {
  static const zepbase::PrivateKey key = [] {
    std::ifstream in(ZEPBASE_DEMO_KEY);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    zepbase::PrivateKey k;
    const std::string error = zepbase::ParsePrivateKey(text, k);
    EXPECT_EQ(error, "");
    return k;
  }();
  return key;
}

// DemoSigner: one signer for the test program (signing needs no state).
inline zepbase::Signer& DemoSigner() {
  static zepbase::Signer signer(DemoKey());
  return signer;
}

// BaseBytes: builds base content chunk by chunk; payloads are scrambled.
class BaseBytes {
 public:
  explicit BaseBytes(uint32_t recordCount, uint32_t formatMark = kBaseFormatMark) {
    bytes_.resize(sizeof(BaseHeader), 0);
    Put32(36, recordCount);
    Put32(40, formatMark);
  }

  BaseBytes& Chunk(uint16_t type, uint16_t flags, uint32_t length,
                   std::vector<uint8_t> payload = {}) {
    Append(type, 2);
    Append(flags, 2);
    Append(length, 4);
    Scramble(payload);
    bytes_.insert(bytes_.end(), payload.begin(), payload.end());
    return *this;
  }
  BaseBytes& Name(std::u16string_view name) {
    std::vector<uint8_t> p(64, 0);
    for (size_t i = 0; i < name.size() && i < 32; ++i) {
      p[2 * i] = static_cast<uint8_t>(name[i]);
      p[2 * i + 1] = static_cast<uint8_t>(name[i] >> 8);
    }
    return Chunk(1, 0, 64, p);
  }
  BaseBytes& Signature(std::string_view s) {
    return Chunk(2, 0, static_cast<uint32_t>(s.size()), {s.begin(), s.end()});
  }
  BaseBytes& Description(std::u16string_view d) {
    std::vector<uint8_t> p;
    for (char16_t c : d) {
      p.push_back(static_cast<uint8_t>(c));
      p.push_back(static_cast<uint8_t>(c >> 8));
    }
    return Chunk(4, 0, static_cast<uint32_t>(p.size()), p);
  }
  BaseBytes& EndRecord() { return Chunk(254, kChunkHasValue, 0); }
  BaseBytes& FileEnd() { return Chunk(255, kChunkHasValue, 0); }
  BaseBytes& Record(std::u16string_view name, std::string_view signature) {
    return Name(name).Chunk(3, kChunkHasValue, 0).Signature(signature).EndRecord();
  }
  BaseBytes& Raw(std::vector<uint8_t> raw) {
    bytes_.insert(bytes_.end(), raw.begin(), raw.end());
    return *this;
  }

  const std::vector<uint8_t>& content() const { return bytes_; }
  std::vector<uint8_t> Signed() const { return DemoSigner().Sign(bytes_); }

 private:
  void Put32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }
  void Append(uint32_t v, int n) {
    for (int i = 0; i < n; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  std::vector<uint8_t> bytes_;
};

}  // namespace scanner::testing
