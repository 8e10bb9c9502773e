// Reading a database file into a PdbImage, record lookup and the reader's result texts.
#include "conduit/pdb/PdbImage.h"

#include <algorithm>
#include <cstring>

#include "conduit/pdb/PdbLayout.h"
#include "platform/DesktopPath.h"
#include "platform/Errors.h"
#include "platform/File.h"

namespace conduit {

std::string PdbImage::Name() const {
  const auto* begin = reinterpret_cast<const char*>(header.data());
  return std::string(begin, strnlen(begin, kPdbNameSize));
}

int ParsePdbImage(std::span<const uint8_t> bytes, PdbImage& image) {
  image = PdbImage{};
  PdbLayout layout;
  const PdbLimits limits{.maxRecord = kRecordBufferSize, .maxBlock = 0xFFFF};
  if (const int rc = ScanPdb(bytes, limits, layout); rc != 0) return rc;

  std::copy_n(bytes.begin(), kPdbHeaderSize, image.header.begin());
  image.listCount = layout.listCount;
  const auto block = [&](const PdbSpan& span) {
    const auto first = bytes.begin() + span.offset;
    return std::vector<uint8_t>(first, first + span.length);
  };
  if (layout.hasAppInfo) {
    image.hasAppInfo = true;
    image.appInfo = block(layout.appInfo);
    image.appInfoLength = static_cast<uint16_t>(layout.appInfo.length);
  }
  if (layout.hasSortInfo) {
    image.hasSortInfo = true;
    image.sortInfo = block(layout.sortInfo);
    image.sortInfoLength = static_cast<uint16_t>(layout.sortInfo.length);
  }
  image.records.resize(layout.entries.size());
  for (size_t i = 0; i < layout.entries.size(); ++i) {
    const PdbEntry& entry = layout.entries[i];
    PdbRecord& record = image.records[i];
    record.listIndex = entry.listIndex;
    record.length = entry.data.length;
    std::memcpy(record.data, bytes.data() + entry.data.offset, entry.data.length);
    record.attributes = entry.attributes;
    record.uniqueIdHigh = static_cast<uint16_t>(entry.uniqueId >> 8);
    record.uniqueIdLow = static_cast<uint8_t>(entry.uniqueId);
  }
  image.fileSize = static_cast<uint32_t>(bytes.size());
  return 0;
}

int ReadPdbImage(std::string_view path, PdbImage& image) {
  image = PdbImage{};
  const platform::FilePath resolved = platform::ResolveDesktopPath(path);
  platform::File file;
  if (const uint32_t rc = file.Open(resolved, platform::GENERIC_READ, platform::FILE_SHARE_READ,
                                    platform::Disposition::OpenExisting);
      rc != 0)
    return static_cast<int>(rc);
  uint64_t size = 0;
  if (const uint32_t rc = file.Size(size); rc != 0) return static_cast<int>(rc);
  if (size > kMaxPdbFileSize) return kPdbFileTooLarge;
  std::vector<uint8_t> bytes(size);
  size_t filled = 0;
  while (filled < bytes.size()) {
    size_t got = 0;
    const uint32_t rc = file.Read(std::span(bytes).subspan(filled), got);
    if (rc != 0) return static_cast<int>(rc);
    if (got == 0) break;
    filled += got;
  }
  // A file that shrank while it was read is taken as it was read.
  bytes.resize(filled);
  return ParsePdbImage(bytes, image);
}

const PdbRecord* FindRecord(const PdbImage& image, uint32_t listIndex, uint32_t n) {
  if (listIndex >= image.listCount) return nullptr;
  for (const PdbRecord& record : image.records) {
    if (record.listIndex != listIndex) continue;
    if (n == 0) return &record;
    --n;
  }
  return nullptr;
}

const char* DescribePdbResult(int result) {
  switch (result) {
    case 0:
      return "read";
    case kPdbTruncated:
      return "the file ends inside its header or a record list";
    case kPdbBadOffset:
      return "a block or record offset lies outside the file or out of order";
    case kPdbListLoop:
      return "a record list does not lead forward to the next";
    case kPdbRecordTooLong:
      return "a record is longer than 1024 bytes";
    case kPdbBlockTooLong:
      return "an app-info or sort-info block is longer than 65535 bytes";
    case kPdbFileTooLarge:
      return "the file is larger than 64 MiB";
    case kPdbTooManyRecords:
      return "the file holds more than 65535 records";
    default:
      return result > 0 ? platform::ErrorText(static_cast<uint32_t>(result)) : "unknown result";
  }
}

}  // namespace conduit
