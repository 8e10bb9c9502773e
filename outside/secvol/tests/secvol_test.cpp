// The folder driver: mounting, its control codes, and sectors enciphered on disk.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "folders/volumes/DriverCodes.h"
#include "outside/secvol/tests/SecvolFixture.h"
#include "platform/DeviceManager.h"
#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/RegKey.h"

namespace secvol {
namespace {

using namespace platform;

constexpr uint32_t kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr uint32_t kSectorNotFound = ERROR_SECTOR_NOT_FOUND;
static_assert(kSectorNotFound == 27);  // "Sector not found." in the mount error box

uint32_t SetHandle(Device& d, uint32_t handle) {
  uint8_t in[4];
  std::memcpy(in, &handle, 4);
  uint32_t returned = 0;
  return d.IoControl(folders::kIoctlSetHandle, in, {}, returned);
}

uint32_t WriteSector(Device& d, uint32_t n, const std::vector<uint8_t>& plain) {
  std::vector<uint8_t> in(4 + folders::kSectorSize);
  std::memcpy(in.data(), &n, 4);
  std::memcpy(in.data() + 4, plain.data(), folders::kSectorSize);
  uint32_t returned = 0;
  return d.IoControl(folders::kIoctlWriteSector, in, {}, returned);
}

uint32_t ReadSector(Device& d, uint32_t n, std::vector<uint8_t>& plain) {
  uint8_t in[4];
  std::memcpy(in, &n, 4);
  plain.assign(folders::kSectorSize, 0);
  uint32_t returned = 0;
  const uint32_t rc = d.IoControl(folders::kIoctlReadSector, in, plain, returned);
  if (rc == 0) {
    EXPECT_EQ(returned, folders::kSectorSize);
  }
  return rc;
}

std::vector<uint8_t> Pattern(uint8_t seed) {
  std::vector<uint8_t> p(folders::kSectorSize);
  for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 5));
  return p;
}

class Secvol : public SecvolTest {};

TEST_F(Secvol, HandleControlAcceptsOnlyItsOwnHandle) {
  const std::string path = MakeContainer("a.zsf", 8, folders::kCipherRc5);
  const DeviceHandle h = RegisterDevice(u"VDD", 0, u"Secvol.dll", Info(path, folders::kCipherRc5));
  ASSERT_NE(h, 0u) << GetLastError();
  Device d;
  ASSERT_EQ(d.Open(u"VDD0:", kReadWrite, 0, DEVICE_OPEN_SYSTEM), 0u);
  EXPECT_EQ(SetHandle(d, h), 0u);
  EXPECT_EQ(SetHandle(d, h + 1), ERROR_INVALID_PARAMETER);
  uint8_t shortInput[2] = {};
  uint32_t returned = 0;
  EXPECT_EQ(d.IoControl(folders::kIoctlSetHandle, shortInput, {}, returned),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(d.IoControl(0x777, {}, {}, returned), ERROR_NOT_SUPPORTED);
}

TEST_F(Secvol, RecordControlFillsTheInputBufferWithTheRecordAndHandle) {
  const std::string path = MakeContainer("b.zsf", 8, folders::kCipherRijndael128);
  const auto info = Info(path, folders::kCipherRijndael128);
  const DeviceHandle h = RegisterDevice(u"VDD", 4, u"secvol.DLL", info);
  ASSERT_NE(h, 0u) << GetLastError();
  Device d;
  ASSERT_EQ(d.Open(u"vdd4:", kReadWrite, 0, DEVICE_OPEN_SYSTEM), 0u);
  std::vector<uint8_t> buffer(sizeof(folders::VolumeRecord), 0xEE);
  uint32_t returned = 0;
  ASSERT_EQ(d.IoControl(folders::kIoctlGetRecord, buffer, {}, returned), 0u);
  folders::VolumeRecord record;
  std::memcpy(&record, buffer.data(), sizeof record);
  EXPECT_EQ(record.deviceHandle, h);
  EXPECT_EQ(FieldText(record.mountName), u"Secret");
  EXPECT_EQ(Utf16ToUtf8(FieldText(record.path)), path);
  EXPECT_EQ(record.timeoutSeconds, 120u);
  // Everything but the handle is the record the folder program handed over.
  folders::VolumeRecord given;
  std::memcpy(&given, info.data() + folders::kMountBlockRecordOffset, sizeof given);
  given.deviceHandle = h;
  EXPECT_EQ(std::memcmp(&given, &record, sizeof record), 0);

  std::vector<uint8_t> tooSmall(sizeof(folders::VolumeRecord) - 1);
  EXPECT_EQ(d.IoControl(folders::kIoctlGetRecord, tooSmall, {}, returned), ERROR_INVALID_PARAMETER);
}

class SecvolCipher : public SecvolTest, public ::testing::WithParamInterface<uint16_t> {};

TEST_P(SecvolCipher, SectorsRoundTripAndLandOnDiskAsTheCiphersCodebook) {
  const uint16_t algorithm = GetParam();
  const std::string path = MakeContainer("c.zsf", 16, algorithm);
  const DeviceHandle h = RegisterDevice(u"VDD", 1, u"Secvol.dll", Info(path, algorithm));
  ASSERT_NE(h, 0u) << GetLastError();
  Device d;
  ASSERT_EQ(d.Open(u"VDD1:", kReadWrite, 0, DEVICE_OPEN_SYSTEM), 0u);

  const auto plain = Pattern(static_cast<uint8_t>(algorithm));
  ASSERT_EQ(WriteSector(d, 15, plain), 0u);
  std::vector<uint8_t> back;
  ASSERT_EQ(ReadSector(d, 15, back), 0u);
  EXPECT_EQ(back, plain);

  // On disk: the plaintext enciphered block by block under the key made from
  // the password bytes, with nothing depending on the sector number.
  const auto key = PasswordBytes(kPassword);
  uint8_t keyObject[folders::kKeyObjectSize] = {};
  const ReferenceCipher c = Reference(algorithm);
  c.createKey(key.data(), static_cast<uint32_t>(key.size()), keyObject);
  auto expected = plain;
  c.encrypt(expected.data(), static_cast<uint32_t>(expected.size()), keyObject);
  const auto disk = Disk("c.zsf", 15);
  EXPECT_NE(disk, plain);
  EXPECT_EQ(disk, expected);
  ASSERT_EQ(WriteSector(d, 3, plain), 0u);
  EXPECT_EQ(Disk("c.zsf", 3), disk);
  // The neighbours are untouched.
  EXPECT_EQ(Disk("c.zsf", 14), std::vector<uint8_t>(folders::kSectorSize, 0xA5));

  // A sector enciphered outside the driver reads back as its plaintext.
  auto theirs = Pattern(99);
  c.encrypt(theirs.data(), static_cast<uint32_t>(theirs.size()), keyObject);
  {
    File f;
    ASSERT_EQ(f.Open(ResolveDevicePath(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     Disposition::OpenExisting),
              0u);
    size_t written = 0;
    ASSERT_EQ(f.Seek(static_cast<int64_t>(folders::SectorOffset(7)), SeekOrigin::Begin), 0u);
    ASSERT_EQ(f.Write(theirs, written), 0u);
  }
  ASSERT_EQ(ReadSector(d, 7, back), 0u);
  EXPECT_EQ(back, Pattern(99));
}

INSTANTIATE_TEST_SUITE_P(EveryFolderCipher, SecvolCipher,
                         ::testing::Values(folders::kCipherRc5, folders::kCipherRc6,
                                           folders::kCipherRijndael128,
                                           folders::kCipherRijndael256));

TEST_F(Secvol, SectorNumbersPastTheEndAreNotFoundAndTheCountIsTheHeaders) {
  const std::string path = MakeContainer("d.zsf", 6, folders::kCipherRc6);
  ASSERT_NE(RegisterDevice(u"VDD", 0, u"Secvol.dll", Info(path, folders::kCipherRc6)), 0u);
  Device d;
  ASSERT_EQ(d.Open(u"VDD0:", kReadWrite, 0, DEVICE_OPEN_SYSTEM), 0u);
  uint8_t count[4] = {};
  uint32_t returned = 0;
  ASSERT_EQ(d.IoControl(folders::kIoctlSectorCount, {}, count, returned), 0u);
  EXPECT_EQ(returned, 4u);
  EXPECT_EQ(count[0], 6);
  std::vector<uint8_t> back;
  EXPECT_EQ(ReadSector(d, 6, back), kSectorNotFound);
  EXPECT_EQ(ReadSector(d, 0xFFFFFFFF, back), kSectorNotFound);
  EXPECT_EQ(WriteSector(d, 6, Pattern(1)), kSectorNotFound);
  EXPECT_EQ(ReadSector(d, 5, back), 0u);
  // The file did not grow.
  EXPECT_EQ(platform::testing::TempFolder::Read(Host("device/My Documents/d.zsf")).size(),
            folders::SectorOffset(6));
  uint8_t small[100];
  uint8_t in[4] = {};
  EXPECT_EQ(d.IoControl(folders::kIoctlReadSector, in, small, returned), ERROR_INSUFFICIENT_BUFFER);
}

uint32_t SectorCount(Device& d) {
  uint8_t count[4] = {};
  uint32_t returned = 0;
  if (d.IoControl(folders::kIoctlSectorCount, {}, count, returned) != 0 || returned != 4) return 0;
  uint32_t n;
  std::memcpy(&n, count, 4);
  return n;
}

TEST_F(Secvol, HeaderWhoseSizeProductWrapsServesOnlyTheSectorsTheFileHolds) {
  // 512 × (2^23 + 4) is 2^32 + 2048: in 32 bits the header matches a file of
  // four sectors, as the folder program's check sees it, while it claims
  // eight million sectors.
  const std::string path = MakeContainer("w.zsf", 4, folders::kCipherRc5);
  const std::string host = Host("device/My Documents/w.zsf");
  {
    std::string bytes = platform::testing::TempFolder::Read(host);
    const uint32_t forged = (1u << 23) + 4;
    std::memcpy(bytes.data() + 4, &forged, 4);
    Put("device/My Documents/w.zsf", bytes);
  }
  const DeviceHandle h = RegisterDevice(u"VDD", 0, u"Secvol.dll", Info(path, folders::kCipherRc5));
  ASSERT_NE(h, 0u) << GetLastError();
  Device d;
  ASSERT_EQ(d.Open(u"VDD0:", kReadWrite, 0, DEVICE_OPEN_SYSTEM), 0u);
  EXPECT_EQ(SectorCount(d), 4u);
  std::vector<uint8_t> back;
  EXPECT_EQ(ReadSector(d, 3, back), 0u);
  EXPECT_EQ(ReadSector(d, 4, back), kSectorNotFound);
  EXPECT_EQ(WriteSector(d, 4, Pattern(4)), kSectorNotFound);
  EXPECT_EQ(WriteSector(d, (1u << 23) + 3, Pattern(4)), kSectorNotFound);
  EXPECT_EQ(platform::testing::TempFolder::Read(host).size(), folders::SectorOffset(4));
}

TEST_F(Secvol, HeaderWithAnotherSectorSizeIsServedIn512ByteSectors) {
  // 2 × 1024 + 52 passes the program's check; the data area is four sectors.
  const std::string path = MakeContainer("s.zsf", 4, folders::kCipherRc6);
  {
    std::string bytes = platform::testing::TempFolder::Read(Host("device/My Documents/s.zsf"));
    const uint32_t count = 2, size = 1024;
    std::memcpy(bytes.data() + 4, &count, 4);
    std::memcpy(bytes.data() + 8, &size, 4);
    Put("device/My Documents/s.zsf", bytes);
  }
  ASSERT_NE(RegisterDevice(u"VDD", 0, u"Secvol.dll", Info(path, folders::kCipherRc6)), 0u)
      << GetLastError();
  Device d;
  ASSERT_EQ(d.Open(u"VDD0:", kReadWrite, 0, DEVICE_OPEN_SYSTEM), 0u);
  EXPECT_EQ(SectorCount(d), 4u);
  ASSERT_EQ(WriteSector(d, 3, Pattern(3)), 0u);
  std::vector<uint8_t> back;
  ASSERT_EQ(ReadSector(d, 3, back), 0u);
  EXPECT_EQ(back, Pattern(3));
}

TEST_F(Secvol, AContainerCutShortWhileMountedIsNeverExtended) {
  const std::string path = MakeContainer("t.zsf", 8, folders::kCipherRijndael128);
  ASSERT_NE(RegisterDevice(u"VDD", 0, u"Secvol.dll", Info(path, folders::kCipherRijndael128)), 0u);
  Device d;
  ASSERT_EQ(d.Open(u"VDD0:", kReadWrite, 0, DEVICE_OPEN_SYSTEM), 0u);
  const std::string host = Host("device/My Documents/t.zsf");
  std::filesystem::resize_file(host, folders::SectorOffset(5) + 100);
  std::vector<uint8_t> back;
  EXPECT_EQ(ReadSector(d, 4, back), 0u);
  EXPECT_EQ(WriteSector(d, 4, Pattern(4)), 0u);
  EXPECT_EQ(ReadSector(d, 5, back), kSectorNotFound);
  EXPECT_EQ(WriteSector(d, 5, Pattern(5)), kSectorNotFound);
  EXPECT_EQ(WriteSector(d, 7, Pattern(7)), kSectorNotFound);
  EXPECT_EQ(std::filesystem::file_size(host), folders::SectorOffset(5) + 100);
}

TEST_F(Secvol, ReadOnlyOpenCannotWriteSectors) {
  const std::string path = MakeContainer("e.zsf", 4, folders::kCipherRc5);
  ASSERT_NE(RegisterDevice(u"VDD", 0, u"Secvol.dll", Info(path, folders::kCipherRc5)), 0u);
  Device d;
  ASSERT_EQ(d.Open(u"VDD0:", GENERIC_READ, FILE_SHARE_READ, DEVICE_OPEN_SYSTEM), 0u);
  EXPECT_EQ(WriteSector(d, 0, Pattern(2)), ERROR_ACCESS_DENIED);
  std::vector<uint8_t> back;
  EXPECT_EQ(ReadSector(d, 0, back), 0u);
}

TEST_F(Secvol, UnmountThenMountAgainReadsTheSameData) {
  const std::string path = MakeContainer("f.zsf", 8, folders::kCipherRijndael256);
  const auto info = Info(path, folders::kCipherRijndael256);
  DeviceHandle h = RegisterDevice(u"VDD", 2, u"Secvol.dll", info);
  ASSERT_NE(h, 0u);
  {
    Device d;
    ASSERT_EQ(d.Open(u"VDD2:", kReadWrite, 0, DEVICE_OPEN_SYSTEM), 0u);
    ASSERT_EQ(WriteSector(d, 5, Pattern(5)), 0u);
  }
  ASSERT_TRUE(DeregisterDevice(h));
  Device gone;
  EXPECT_EQ(gone.Open(u"VDD2:", kReadWrite, 0, DEVICE_OPEN_SYSTEM), ERROR_FILE_NOT_FOUND);

  const DeviceHandle again = RegisterDevice(u"VDD", 2, u"Secvol.dll", info);
  ASSERT_NE(again, 0u);
  EXPECT_NE(again, h);
  Device d;
  ASSERT_EQ(d.Open(u"VDD2:", kReadWrite, 0, DEVICE_OPEN_SYSTEM), 0u);
  std::vector<uint8_t> back;
  ASSERT_EQ(ReadSector(d, 5, back), 0u);
  EXPECT_EQ(back, Pattern(5));
  EXPECT_EQ(SetHandle(d, again), 0u);
  EXPECT_EQ(SetHandle(d, h), ERROR_INVALID_PARAMETER);
}

TEST_F(Secvol, ActivationFromTheDriverKeyTakesTheLowestFreeIndex) {
  RegKey key;
  ASSERT_EQ(key.Create(RegRootKey(RegStore::Device, HKEY_LOCAL_MACHINE), "Drivers\\ZSecurity"), 0u);
  ASSERT_EQ(key.SetString("Prefix", u"VDD"), 0u);
  ASSERT_EQ(key.SetString("Dll", u"secvol.dll"), 0u);
  const std::string a = MakeContainer("g1.zsf", 4, folders::kCipherRc5);
  const std::string b = MakeContainer("g2.zsf", 4, folders::kCipherRc5);
  ASSERT_NE(RegisterDevice(u"VDD", 0, u"Secvol.dll", Info(a, folders::kCipherRc5)), 0u);
  const DeviceHandle h = ActivateDeviceEx(u"Drivers\\ZSecurity", Info(b, folders::kCipherRc5));
  ASSERT_NE(h, 0u) << GetLastError();
  Device d;
  ASSERT_EQ(d.Open(u"VDD1:", kReadWrite, 0, DEVICE_OPEN_SYSTEM), 0u);
  std::vector<uint8_t> buffer(sizeof(folders::VolumeRecord));
  uint32_t returned = 0;
  ASSERT_EQ(d.IoControl(folders::kIoctlGetRecord, buffer, {}, returned), 0u);
  folders::VolumeRecord record;
  std::memcpy(&record, buffer.data(), sizeof record);
  EXPECT_EQ(Utf16ToUtf8(FieldText(record.path)), b);
  EXPECT_EQ(record.deviceHandle, h);
  EXPECT_TRUE(DeactivateDevice(h));
}

TEST_F(Secvol, InitRefusesBadInformationCiphersAndContainers) {
  const std::string path = MakeContainer("h.zsf", 4, folders::kCipherRc5);
  auto info = Info(path, folders::kCipherRc5);

  auto shortInfo = info;
  shortInfo.pop_back();
  EXPECT_EQ(RegisterDevice(u"VDD", 0, u"Secvol.dll", shortInfo), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

  auto badOffset = info;
  badOffset[0] = 0;
  EXPECT_EQ(RegisterDevice(u"VDD", 0, u"Secvol.dll", badOffset), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

  for (uint16_t algorithm : {uint16_t{0}, folders::kCipherRc4, uint16_t{7}}) {
    auto other = info;
    std::memcpy(other.data() + folders::kMountBlockRecordOffset + 16, &algorithm, 2);
    EXPECT_EQ(RegisterDevice(u"VDD", 0, u"Secvol.dll", other), 0u);
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED) << algorithm;
  }

  EXPECT_EQ(RegisterDevice(u"VDD", 0, u"Secvol.dll", Info("\\Nowhere\\x.zsf", 3)), 0u);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegisterDevice(u"VDD", 0, u"Secvol.dll", Info("\\My Documents\\x.zsf", 3)), 0u);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

  // One byte short of its header's size: not a container.
  const std::string whole = platform::testing::TempFolder::Read(Host("device/My Documents/h.zsf"));
  Put("device/My Documents/cut.zsf", std::string_view(whole).substr(0, whole.size() - 1));
  EXPECT_EQ(RegisterDevice(u"VDD", 0, u"Secvol.dll", Info("\\My Documents\\cut.zsf", 3)), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);

  // After all those refusals the index is still free.
  EXPECT_NE(RegisterDevice(u"VDD", 0, u"Secvol.dll", info), 0u);
}

}  // namespace
}  // namespace secvol
