// MD5 message digest (RFC 1321), used for the password digest of a container.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace folders {

using Md5Digest = std::array<uint8_t, 16>;

// Md5: an incremental MD5 computation. Feed bytes with Update, then Final
// returns the digest; the object must be Reset before it is used again.
class Md5 {
 public:
  Md5() { Reset(); }

  // Reset: starts a new message.
  void Reset();

  // Update: appends bytes to the message.
  void Update(std::span<const uint8_t> bytes);

  // Final: pads the message and returns its 16-byte digest.
  Md5Digest Final();

 private:
  void Transform(const uint8_t* block);

  uint32_t state_[4];
  uint64_t length_;  // bytes fed so far
  uint8_t buffer_[64];
};

// ComputeMd5: the digest of one whole message.
Md5Digest ComputeMd5(std::span<const uint8_t> bytes);

}  // namespace folders
