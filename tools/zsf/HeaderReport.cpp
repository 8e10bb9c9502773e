// Formatting a container header's fields for `zsf check`.
#include "tools/zsf/HeaderReport.h"

#include "folders/container/ContainerHeader.h"
#include "folders/volumes/CipherNames.h"
#include "platform/Text.h"

namespace zsf {
namespace {

uint32_t Le32(std::span<const uint8_t> bytes, size_t offset) {
  return uint32_t{bytes[offset]} | uint32_t{bytes[offset + 1]} << 8 |
         uint32_t{bytes[offset + 2]} << 16 | uint32_t{bytes[offset + 3]} << 24;
}

void Line(std::string& out, const char* name, const std::string& value) {
  out += name;
  out += ": ";
  out += value;
  out += '\n';
}

}  // namespace

std::string DescribeHeader(std::span<const uint8_t> bytes, uint64_t fileSize) {
  std::string out;
  Line(out, "file size", std::to_string(fileSize));
  if (bytes.size() < folders::kHeaderSize) {
    Line(out, "header", "only " + std::to_string(bytes.size()) + " of 52 bytes");
    return out;
  }
  const uint32_t sectorCount = Le32(bytes, 4);
  const uint32_t sectorSize = Le32(bytes, 8);
  const uint32_t algorithm = Le32(bytes, 28);
  Line(out, "format version", std::to_string(Le32(bytes, 0)));
  Line(out, "sector count", std::to_string(sectorCount));
  Line(out, "sector size", std::to_string(sectorSize));
  Line(out, "header constant", std::to_string(Le32(bytes, 24)));
  Line(out, "algorithm",
       std::to_string(algorithm) + " (" +
           platform::Utf16ToUtf8(folders::DialogCipherName(algorithm)) + ")");
  Line(out, "time-out seconds", std::to_string(Le32(bytes, 32)));
  static const char kDigits[] = "0123456789abcdef";
  std::string digest;
  for (size_t i = 36; i < 52; ++i) {
    digest += kDigits[bytes[i] >> 4];
    digest += kDigits[bytes[i] & 15];
  }
  Line(out, "password digest", digest);
  Line(out, "size implied by header",
       std::to_string(uint64_t{sectorCount} * sectorSize + folders::kHeaderSize));
  return out;
}

}  // namespace zsf
