// Mounting a container and serving its sectors enciphered one by one.
#include "outside/secvol/SecureVolume.h"

#include <algorithm>
#include <cstring>

#include "folders/container/ContainerHeader.h"
#include "folders/volumes/DriverCodes.h"
#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/Text.h"

namespace secvol {
namespace {

using namespace platform;

uint32_t LittleEndian32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24;
}

void PutLittleEndian32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

uint32_t SecureVolume::Init(std::span<const uint8_t> info, uint32_t handle) {
  Deinit();
  folders::MountInformation mount;
  if (info.size() != sizeof mount) return ERROR_INVALID_PARAMETER;
  std::memcpy(&mount, info.data(), sizeof mount);
  if (mount.block.record != folders::kMountBlockRecordOffset) return ERROR_INVALID_PARAMETER;
  const uint16_t algorithm = mount.record.algorithm;
  if (algorithm < folders::kCipherRc5 || algorithm > folders::kCipherRijndael256)
    return ERROR_NOT_SUPPORTED;

  // A path field without its terminator is taken as its 260 characters.
  const FilePath path = ResolveDevicePath(FieldText(mount.record.path));
  if (!path.ok()) return path.error == ERROR_PATH_NOT_FOUND ? ERROR_FILE_NOT_FOUND : path.error;
  File file;
  // The folder program reads the header of a mounted container (its list
  // refresh), so reading and writing stay shared.
  if (const uint32_t rc = file.Open(path, GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, Disposition::OpenExisting))
    return rc == ERROR_PATH_NOT_FOUND ? ERROR_FILE_NOT_FOUND : rc;

  folders::ContainerHeader header;
  size_t got = 0;
  uint64_t size = 0;
  if (file.Read({reinterpret_cast<uint8_t*>(&header), sizeof header}, got) != 0 ||
      got != sizeof header || file.Size(size) != 0)
    return ERROR_INVALID_DATA;
  const uint32_t claimed = LittleEndian32(reinterpret_cast<const uint8_t*>(&header.sectorCount));
  const uint32_t sectorSize = LittleEndian32(reinterpret_cast<const uint8_t*>(&header.sectorSize));
  // The folder program's check, 32-bit product included: what it mounts
  // must not be refused here (its mount loop would try every index).
  if (size < folders::kHeaderSize ||
      static_cast<uint32_t>(size) != claimed * sectorSize + folders::kHeaderSize)
    return ERROR_INVALID_DATA;
  // A product that wrapped, or a sector size other than 512, claims sectors
  // the file does not have; only the real data area is served.
  const uint64_t inFile = (size - folders::kHeaderSize) / folders::kSectorSize;
  const uint64_t inHeader = uint64_t{claimed} * sectorSize / folders::kSectorSize;
  const auto sectors = static_cast<uint32_t>(std::min({inFile, inHeader, uint64_t{UINT32_MAX}}));

  if (const int rc = cipher_.Load(algorithm))
    return rc == folders::kCipherNotSupported ? ERROR_NOT_SUPPORTED : ERROR_MOD_NOT_FOUND;

  record_ = mount.record;
  record_.deviceHandle = handle;
  std::memcpy(keyObject_, mount.block.keyObject, sizeof keyObject_);
  file_ = std::move(file);
  sectorCount_ = sectors;
  return 0;
}

void SecureVolume::Deinit() {
  file_.Close();
  cipher_.Unload();
  std::fill(std::begin(keyObject_), std::end(keyObject_), uint8_t{0});
  record_ = {};
  sectorCount_ = 0;
}

uint32_t SecureVolume::CheckSector(uint32_t n) {
  if (n >= sectorCount_) return ERROR_SECTOR_NOT_FOUND;
  // Another program may have cut the file since the mount.
  uint64_t size = 0;
  if (file_.Size(size) != 0) return ERROR_READ_FAULT;
  return folders::SectorOffset(n) + folders::kSectorSize <= size ? 0 : ERROR_SECTOR_NOT_FOUND;
}

uint32_t SecureVolume::ReadSector(uint32_t n, std::span<uint8_t, folders::kSectorSize> plain) {
  if (const uint32_t rc = CheckSector(n)) return rc;
  size_t got = 0;
  if (file_.Seek(static_cast<int64_t>(folders::SectorOffset(n)), SeekOrigin::Begin) != 0 ||
      file_.Read(plain, got) != 0 || got != plain.size())
    return ERROR_READ_FAULT;
  // Block ciphers only read the key object, so the one copy serves every sector.
  cipher_.Decrypt(plain, keyObject_);
  return 0;
}

uint32_t SecureVolume::WriteSector(uint32_t n,
                                   std::span<const uint8_t, folders::kSectorSize> plain) {
  if (const uint32_t rc = CheckSector(n)) return rc;
  uint8_t sector[folders::kSectorSize];
  std::memcpy(sector, plain.data(), sizeof sector);
  cipher_.Encrypt(sector, keyObject_);
  size_t written = 0;
  if (file_.Seek(static_cast<int64_t>(folders::SectorOffset(n)), SeekOrigin::Begin) != 0 ||
      file_.Write(sector, written) != 0 || written != sizeof sector)
    return ERROR_WRITE_FAULT;
  return 0;
}

uint32_t SecureVolume::Control(OpenAccess access, uint32_t code, std::span<uint8_t> input,
                               std::span<uint8_t> output, uint32_t& returned) {
  returned = 0;
  switch (code) {
    case folders::kIoctlSetHandle:
      if (input.size() != 4 || LittleEndian32(input.data()) != record_.deviceHandle)
        return ERROR_INVALID_PARAMETER;
      return 0;
    case folders::kIoctlGetRecord:
      if (input.size() < sizeof record_) return ERROR_INVALID_PARAMETER;
      std::memcpy(input.data(), &record_, sizeof record_);
      return 0;
    case folders::kIoctlReadSector: {
      if (input.size() != 4) return ERROR_INVALID_PARAMETER;
      if (output.size() < folders::kSectorSize) return ERROR_INSUFFICIENT_BUFFER;
      const uint32_t rc =
          ReadSector(LittleEndian32(input.data()), output.first<folders::kSectorSize>());
      if (rc == 0) returned = folders::kSectorSize;
      return rc;
    }
    case folders::kIoctlWriteSector:
      if (input.size() != 4 + folders::kSectorSize) return ERROR_INVALID_PARAMETER;
      if (access != OpenAccess::ReadWrite) return ERROR_ACCESS_DENIED;
      return WriteSector(LittleEndian32(input.data()),
                         input.subspan(4).first<folders::kSectorSize>());
    case folders::kIoctlSectorCount:
      if (output.size() < 4) return ERROR_INSUFFICIENT_BUFFER;
      PutLittleEndian32(output.data(), sectorCount_);
      returned = 4;
      return 0;
    default:
      return ERROR_NOT_SUPPORTED;
  }
}

}  // namespace secvol
