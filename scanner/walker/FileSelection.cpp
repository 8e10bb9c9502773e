// The file filter and the program test.
#include "scanner/walker/FileSelection.h"

#include <array>

#include "platform/DevicePath.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "scanner/scanrun/ScanEvents.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/walker/MatchMask.h"

namespace scanner {
namespace {

constexpr uint16_t kMzMark = 0x5A4D;
constexpr uint32_t kPeMark = 0x4550;
constexpr int64_t kHeaderOffsetAt = 60;
constexpr uint32_t kLowestHeaderOffset = 64;

// ReadExactly: reads n bytes; `complete` tells whether all of them came.
uint32_t ReadExactly(platform::File& file, uint8_t* out, size_t n, bool& complete) {
  size_t got = 0;
  const uint32_t code = file.Read({out, n}, got);
  complete = code == 0 && got == n;
  return code;
}

uint32_t Le32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

int IsProgramFile(std::u16string_view path) {
  platform::File file;
  uint32_t code = file.Open(platform::ResolveDevicePath(path), platform::GENERIC_READ, 0,
                            platform::Disposition::OpenExisting);
  if (code != 0) return static_cast<int>(code);
  std::array<uint8_t, 4> bytes{};
  bool complete = false;
  if ((code = ReadExactly(file, bytes.data(), 2, complete)) != 0) return static_cast<int>(code);
  if (!complete || (bytes[0] | bytes[1] << 8) != kMzMark) return kNotProgram;
  if ((code = file.Seek(kHeaderOffsetAt, platform::SeekOrigin::Begin)) != 0)
    return static_cast<int>(code);
  if ((code = ReadExactly(file, bytes.data(), 4, complete)) != 0) return static_cast<int>(code);
  const uint32_t headerOffset = Le32(bytes.data());
  if (!complete || headerOffset < kLowestHeaderOffset) return kNotProgram;
  if ((code = file.Seek(headerOffset, platform::SeekOrigin::Begin)) != 0)
    return static_cast<int>(code);
  if ((code = ReadExactly(file, bytes.data(), 4, complete)) != 0) return static_cast<int>(code);
  return complete && Le32(bytes.data()) == kPeMark ? kIsProgram : kNotProgram;
}

bool IsFileSelected(Scanner& scanner, std::u16string_view path, std::u16string_view name) {
  const uint32_t attributes = platform::GetFileAttributes(platform::ResolveDevicePath(path));
  const std::u16string folded = platform::ToLower(name);
  if ((scanner.flags & kScanExcludeMask) &&
      MatchMask(folded, platform::FieldText(scanner.excludeMask)))
    return false;
  const bool inRom =
      attributes != platform::INVALID_FILE_ATTRIBUTES &&
      (attributes & (platform::FILE_ATTRIBUTE_INROM | platform::FILE_ATTRIBUTE_ROMMODULE)) != 0;
  if (inRom && !(scanner.flags & kScanRomFiles)) return false;
  if (scanner.flags & kScanAllFiles) return true;
  if (!(scanner.flags & kScanUserMask)) {
    const int result = IsProgramFile(path);
    if (result > 0) {
      ++scanner.errors;
      ErrorPause(scanner);
      SendProgress(scanner, kProgressFileError, static_cast<uint32_t>(result));
      AddResultRow(scanner, path, ScannerText(kMsgCannotOpenFile));
      return false;
    }
    return result == kIsProgram && (scanner.flags & kScanOnlyPrograms);
  }
  return MatchMask(folded, platform::FieldText(scanner.userMask));
}

}  // namespace scanner
