// One mounted folder as the driver serves it: the record, the key and the container's sectors.
#pragma once

#include <cstdint>
#include <span>

#include "folders/container/CipherLibrary.h"
#include "folders/container/ContainerHeader.h"
#include "folders/volumes/MountBlock.h"
#include "folders/volumes/VolumeRecord.h"
#include "platform/File.h"

namespace secvol {

// OpenAccess: what an open of the device may do.
enum class OpenAccess { ReadOnly, ReadWrite };

// SecureVolume: the state behind one device. The service calls it one request
// at a time, so it takes no locks.
class SecureVolume {
 public:
  // Init: takes the mount information (a MountInformation, copied), keeps the
  // record with `handle` as its device handle and the key object, and opens
  // the container. The container is taken when it passes the folder
  // program's own header check (32-bit sizes), and the sectors served are
  // those its file really holds: a header whose product wrapped claims more.
  // Returns 0; 87 for information of the wrong size or a record offset other
  // than kMountBlockRecordOffset; 50 for a cipher number other than 3 to 6;
  // the open's code (2 when the container is missing); 13 when the file is
  // not a container; 126 when the cipher library cannot be loaded. A failure
  // leaves nothing open.
  uint32_t Init(std::span<const uint8_t> info, uint32_t handle);

  // Deinit: closes the container and forgets the key.
  void Deinit();

  // Control: one control code of DriverCodes.h for an open with `access`.
  // Returns 0 or a Win32 code: 87 for a wrong input size or a handle other
  // than the device's own (code 4), 122 for an output too small, 27 for a
  // sector number out of range (also one the file no longer holds), 5 for a
  // write through a read-only open, 30 or 29 when the container cannot be
  // read or written, 50 for other codes.
  uint32_t Control(OpenAccess access, uint32_t code, std::span<uint8_t> input,
                   std::span<uint8_t> output, uint32_t& returned);

  // ReadSector / WriteSector: the plaintext of sector n (512 bytes). 27 when
  // n is not below sectorCount() or the file has been cut short meanwhile: a
  // write never extends the file.
  uint32_t ReadSector(uint32_t n, std::span<uint8_t, folders::kSectorSize> plain);
  uint32_t WriteSector(uint32_t n, std::span<const uint8_t, folders::kSectorSize> plain);

  uint32_t sectorCount() const { return sectorCount_; }
  const folders::VolumeRecord& record() const { return record_; }

 private:
  folders::VolumeRecord record_{};
  uint8_t keyObject_[folders::kKeyObjectSize] = {};
  folders::CipherLibrary cipher_;
  platform::File file_;
  uint32_t sectorCount_ = 0;

  uint32_t CheckSector(uint32_t n);
};

}  // namespace secvol
