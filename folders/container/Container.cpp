// Container files: creation with an RC4 fill, the header check, the password digest and change.
#include "folders/container/Container.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "folders/container/CipherLibrary.h"
#include "folders/container/ContainerHeader.h"
#include "folders/container/FileWrites.h"
#include "folders/container/Md5.h"
#include "folders/container/PasswordChangeHooks.h"
#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace folders {

namespace {

// The key and the digest are the code units as they lie in memory, which
// must therefore be the little-endian order that stored containers assume.
static_assert(std::endian::native == std::endian::little);

using platform::Disposition;
using platform::File;
using platform::FilePath;

constexpr size_t kKeyObjectBytes = 1024;
constexpr uint32_t kFillStep = 1u << 20;                 // the fill runs in 1 MiB passes
constexpr uint32_t kLargestSizeKb = 0xFFFFFFFFu / 1024;  // byte counts are 32-bit
constexpr size_t kCopyRun = 128 * kSectorSize;           // bytes per read and write of a change
constexpr std::u16string_view kCopySuffix = u".tmp";

using HeaderBytes = std::array<uint8_t, kHeaderSize>;

PasswordChangeHooks gHooks;

// KeyObject: the caller-owned buffer every cipher call takes; cleared when it
// goes, so no expanded key outlives its use on the stack.
struct KeyObject {
  alignas(8) uint8_t bytes[kKeyObjectBytes];
  ~KeyObject() {
    volatile uint8_t* p = bytes;
    for (size_t n = 0; n < kKeyObjectBytes; ++n) p[n] = 0;
  }
};

void PutLe32(uint8_t* p, uint32_t v) {
  for (int k = 0; k < 4; ++k) p[k] = static_cast<uint8_t>(v >> (8 * k));
}

uint32_t GetLe32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

HeaderBytes EncodeHeader(const ContainerHeader& h) {
  HeaderBytes b{};
  PutLe32(&b[offsetof(ContainerHeader, formatVersion)], h.formatVersion);
  PutLe32(&b[offsetof(ContainerHeader, sectorCount)], h.sectorCount);
  PutLe32(&b[offsetof(ContainerHeader, sectorSize)], h.sectorSize);
  for (int k = 0; k < 3; ++k)
    PutLe32(&b[offsetof(ContainerHeader, reserved) + 4 * k], h.reserved[k]);
  PutLe32(&b[offsetof(ContainerHeader, headerConstant)], h.headerConstant);
  PutLe32(&b[offsetof(ContainerHeader, algorithm)], h.algorithm);
  PutLe32(&b[offsetof(ContainerHeader, timeoutSeconds)], h.timeoutSeconds);
  std::memcpy(&b[offsetof(ContainerHeader, passwordDigest)], h.passwordDigest,
              sizeof h.passwordDigest);
  return b;
}

ContainerHeader DecodeHeader(const HeaderBytes& b) {
  ContainerHeader h{};
  h.formatVersion = GetLe32(&b[offsetof(ContainerHeader, formatVersion)]);
  h.sectorCount = GetLe32(&b[offsetof(ContainerHeader, sectorCount)]);
  h.sectorSize = GetLe32(&b[offsetof(ContainerHeader, sectorSize)]);
  for (int k = 0; k < 3; ++k)
    h.reserved[k] = GetLe32(&b[offsetof(ContainerHeader, reserved) + 4 * k]);
  h.headerConstant = GetLe32(&b[offsetof(ContainerHeader, headerConstant)]);
  h.algorithm = GetLe32(&b[offsetof(ContainerHeader, algorithm)]);
  h.timeoutSeconds = GetLe32(&b[offsetof(ContainerHeader, timeoutSeconds)]);
  std::memcpy(h.passwordDigest, &b[offsetof(ContainerHeader, passwordDigest)],
              sizeof h.passwordDigest);
  return h;
}

FilePath RecordFile(const VolumeRecord& record) {
  return platform::ResolveDevicePath(platform::FieldText(record.path));
}

// ReadFull: reads until the buffer is full or the file ends; 0 or the code.
uint32_t ReadFull(File& file, std::span<uint8_t> buffer, size_t& got) {
  got = 0;
  while (got < buffer.size()) {
    size_t n = 0;
    if (const uint32_t rc = file.Read(buffer.subspan(got), n); rc != 0) return rc;
    if (n == 0) break;
    got += n;
  }
  return 0;
}

std::unique_ptr<uint8_t[]> Allocate(size_t bytes) {
  return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[bytes]());
}

// FillContainer: writes the header and `dataBytes` of RC4 fill; false when a
// write fails or makes no progress.
bool FillContainer(File& file, const ContainerHeader& header, uint32_t dataBytes,
                   const CipherLibrary& rc4, std::span<const uint8_t> key) {
  if (WriteAll(file, EncodeHeader(header)) != 0) return false;
  KeyObject keyObject;
  rc4.CreateKey(key, keyObject.bytes);
  // Two buffers take turns, so one goes to the file while the next pass is
  // worked out in the other.
  const auto buffers = Allocate(2 * size_t{kFillStep});
  if (!buffers) return false;
  uint8_t* const halves[2] = {buffers.get(), buffers.get() + kFillStep};
  BackgroundWriter writer(file);
  unsigned pass = 0;
  for (uint32_t remaining = dataBytes; remaining > 0; ++pass) {
    // Each pass XORs the next stretch of keystream onto the last pass's
    // bytes, never cleared, which is what stored containers hold. The last
    // pass's buffer may still be on its way to the file: reading it is safe.
    uint8_t* const buffer = halves[pass % 2];
    if (pass > 0) std::memcpy(buffer, halves[(pass - 1) % 2], kFillStep);
    rc4.Encrypt({buffer, kFillStep}, keyObject.bytes);
    const uint32_t step = std::min(remaining, kFillStep);
    if (writer.Write({buffer, step}) != 0) return false;
    remaining -= step;
  }
  return writer.Finish() == 0;
}

// ChangeFailure: the result for a failed write of the new copy.
int ChangeFailure(uint32_t code) {
  return code == platform::ERROR_DISK_FULL || code == platform::ERROR_HANDLE_DISK_FULL
             ? kNotEnoughRoom
             : kCannotOpenFile;
}

// HasRoomFor: false only when the container's volume is known to lack
// `bytes` of free space; an unanswered query leaves the writes to tell.
bool HasRoomFor(const FilePath& container, uint64_t bytes) {
  uint64_t bytesFree = 0;
  if (gHooks.freeSpace != nullptr) {
    if (gHooks.freeSpace(container, bytesFree) != 0) return true;
  } else {
    platform::DiskSpace space;
    if (platform::GetDiskFreeSpace(container, space) != 0) return true;
    bytesFree = space.freeToCaller;
  }
  return bytesFree >= bytes;
}

// CopyReenciphered: writes the header with the new digest, then every whole
// sector of `from` deciphered under the old key and enciphered under the new,
// each with fresh key objects; a tail shorter than a sector is copied as it
// is. 0, or the result for the failure.
int CopyReenciphered(File& from, File& to, HeaderBytes header, const CipherLibrary& cipher,
                     std::span<const uint8_t> oldKey, std::span<const uint8_t> newKey) {
  const Md5Digest digest = ComputeMd5(newKey);
  std::copy(digest.begin(), digest.end(),
            header.begin() + offsetof(ContainerHeader, passwordDigest));
  if (const uint32_t rc = WriteAll(to, header); rc != 0) return ChangeFailure(rc);
  const auto run = Allocate(kCopyRun);
  if (!run) return kCannotOpenFile;
  uint32_t sectorsDone = 0;
  for (;;) {
    size_t got = 0;
    if (ReadFull(from, {run.get(), kCopyRun}, got) != 0) return kCannotOpenFile;
    if (got == 0) break;
    const size_t whole = got - got % kSectorSize;
    for (size_t at = 0; at < whole; at += kSectorSize) {
      const std::span<uint8_t> sector(run.get() + at, kSectorSize);
      // A fresh key object for each call: the RC4 one advances as it works.
      KeyObject keyObject;
      cipher.CreateKey(oldKey, keyObject.bytes);
      cipher.Decrypt(sector, keyObject.bytes);
      cipher.CreateKey(newKey, keyObject.bytes);
      cipher.Encrypt(sector, keyObject.bytes);
    }
    if (const uint32_t rc = WriteAll(to, {run.get(), got}); rc != 0) return ChangeFailure(rc);
    sectorsDone += static_cast<uint32_t>(whole / kSectorSize);
    if (gHooks.sectorsWritten != nullptr) gHooks.sectorsWritten(sectorsDone);
    if (got < kCopyRun) break;
  }
  return 0;
}

}  // namespace

void SetPasswordChangeHooks(const PasswordChangeHooks& hooks) {
  gHooks = hooks;
}

std::span<const uint8_t> PasswordBytes(std::u16string_view password) {
  return {reinterpret_cast<const uint8_t*>(password.data()), password.size() * sizeof(char16_t)};
}

int CreateContainer(const VolumeRecord& record, uint32_t sizeKb, std::u16string_view password) {
  if (password.empty()) return kEmptyPassword;
  if (sizeKb > kLargestSizeKb) return kCannotCreateFile;
  CipherLibrary rc4;
  if (const int rc = rc4.Load(kCipherRc4); rc != 0) return rc;
  const FilePath path = RecordFile(record);
  File file;
  if (file.Open(path, platform::GENERIC_READ | platform::GENERIC_WRITE, platform::FILE_SHARE_READ,
                Disposition::CreateAlways, platform::FILE_ATTRIBUTE_NORMAL) != 0)
    return kCannotCreateFile;

  ContainerHeader header{};
  header.formatVersion = kFormatVersion;
  header.sectorCount = sizeKb * 1024 / kSectorSize;
  header.sectorSize = kSectorSize;
  header.headerConstant = kHeaderConstant;
  header.algorithm = record.algorithm;
  header.timeoutSeconds = record.timeoutSeconds;
  const std::span<const uint8_t> key = PasswordBytes(password);
  const Md5Digest digest = ComputeMd5(key);
  std::copy(digest.begin(), digest.end(), header.passwordDigest);

  if (!FillContainer(file, header, sizeKb * 1024, rc4, key)) {
    // A partial container would pass for none of the sizes offered; drop it.
    file.Close();
    platform::DeleteFile(path);
    return kCannotCreateFile;
  }
  return 0;
}

int ReadContainerHeader(VolumeRecord& record, std::u16string_view path) {
  const auto reject = [&record] {
    record.sizeKb = 0;
    record.algorithm = 0;
    return 0;
  };
  File file;
  if (file.Open(platform::ResolveDevicePath(path), platform::GENERIC_READ,
                platform::FILE_SHARE_READ | platform::FILE_SHARE_WRITE,
                Disposition::OpenExisting) != 0)
    return reject();
  uint64_t hostSize = 0;
  if (file.Size(hostSize) != 0) return reject();
  const auto size = static_cast<uint32_t>(hostSize);  // the check works with 32-bit sizes
  HeaderBytes bytes{};
  size_t got = 0;
  if (ReadFull(file, bytes, got) != 0 || got != kHeaderSize) return reject();
  const ContainerHeader header = DecodeHeader(bytes);
  if (size != header.sectorCount * header.sectorSize + kHeaderSize ||
      header.algorithm > kLargestAlgorithm)
    return reject();
  record.sizeKb = size / 1024;
  std::copy(std::begin(header.passwordDigest), std::end(header.passwordDigest),
            record.passwordDigest);
  record.algorithm = static_cast<uint16_t>(header.algorithm);
  record.timeoutSeconds = header.timeoutSeconds;
  return 1;
}

bool VerifyPassword(const VolumeRecord& record, std::u16string_view password) {
  if (password.empty()) return false;
  const Md5Digest digest = ComputeMd5(PasswordBytes(password));
  return std::memcmp(digest.data(), record.passwordDigest, digest.size()) == 0;
}

int ChangeContainerPassword(const VolumeRecord& record, std::u16string_view oldPassword,
                            std::u16string_view newPassword) {
  if (oldPassword.empty() || newPassword.empty()) return kEmptyPassword;
  CipherLibrary cipher;
  if (const int rc = cipher.Load(record.algorithm); rc != 0) return rc;

  // Opened for writing although only read, so that a container that could not
  // be rewritten (read-only, in ROM) is refused before any work.
  const std::u16string_view name = platform::FieldText(record.path);
  const FilePath containerPath = platform::ResolveDevicePath(name);
  File container;
  if (container.Open(containerPath, platform::GENERIC_READ | platform::GENERIC_WRITE,
                     platform::FILE_SHARE_READ, Disposition::OpenExisting) != 0)
    return kCannotOpenFile;
  HeaderBytes header{};
  size_t got = 0;
  uint64_t size = 0;
  if (ReadFull(container, header, got) != 0 || got != kHeaderSize || container.Size(size) != 0)
    return kCannotOpenFile;

  // The new container is written beside the old one and replaces it in one
  // rename, so an interruption leaves the old container whole. A copy left
  // by an interrupted change never replaced anything and is dropped.
  const FilePath copyPath = platform::ResolveDevicePath(std::u16string(name).append(kCopySuffix));
  platform::DeleteFile(copyPath);
  if (!HasRoomFor(containerPath, size)) return kNotEnoughRoom;
  File copy;
  if (copy.Open(copyPath, platform::GENERIC_WRITE, 0, Disposition::CreateAlways) != 0)
    return kCannotOpenFile;

  int rc = CopyReenciphered(container, copy, header, cipher, PasswordBytes(oldPassword),
                            PasswordBytes(newPassword));
  if (rc == 0)
    if (const uint32_t flushed = copy.Flush(); flushed != 0) rc = ChangeFailure(flushed);
  copy.Close();
  container.Close();
  if (rc == 0 && platform::MoveFile(copyPath, containerPath, platform::IfExists::Replace) != 0)
    rc = kCannotOpenFile;
  if (rc != 0) platform::DeleteFile(copyPath);
  return rc;
}

int WriteContainerTimeout(const VolumeRecord& record, uint32_t seconds) {
  File file;
  if (file.Open(RecordFile(record), platform::GENERIC_READ | platform::GENERIC_WRITE,
                platform::FILE_SHARE_READ, Disposition::OpenExisting) != 0)
    return 0;
  uint8_t bytes[4];
  PutLe32(bytes, seconds);
  if (file.Seek(offsetof(ContainerHeader, timeoutSeconds), platform::SeekOrigin::Begin) != 0 ||
      WriteAll(file, bytes) != 0)
    return 0;
  return 1;
}

}  // namespace folders
