// The bounds-checked walk over a database file's header and record lists.
#include "conduit/pdb/PdbLayout.h"

#include "conduit/pdb/PdbImage.h"

namespace conduit {

namespace {

constexpr size_t kAppInfoField = 52;
constexpr size_t kSortInfoField = 56;
constexpr size_t kListHeaderSize = 6;
constexpr size_t kEntrySize = 8;

// ScanLists: the entries of every record list; `listsEnd` receives the
// first byte after the last list's entries.
int ScanLists(std::span<const uint8_t> bytes, PdbLayout& layout, uint64_t& listsEnd) {
  const uint64_t size = bytes.size();
  uint64_t pos = kPdbHeaderSize;
  uint32_t listNumber = 1;
  for (;;) {
    if (pos + kListHeaderSize > size) return kPdbTruncated;
    const uint32_t next = ReadBigEndian32(&bytes[pos]);
    const uint16_t count = ReadBigEndian16(&bytes[pos + 4]);
    const uint64_t first = pos + kListHeaderSize;
    const uint64_t end = first + uint64_t{count} * kEntrySize;
    if (end > size) return kPdbTruncated;
    if (layout.entries.size() + count > kMaxPdbRecords) return kPdbTooManyRecords;
    for (uint64_t e = first; e < end; e += kEntrySize) {
      PdbEntry entry;
      entry.listIndex = listNumber - 1;
      entry.data.offset = ReadBigEndian32(&bytes[e]);
      entry.attributes = bytes[e + 4];
      entry.uniqueId =
          (uint32_t{bytes[e + 5]} << 16) | (uint32_t{bytes[e + 6]} << 8) | bytes[e + 7];
      layout.entries.push_back(entry);
    }
    listsEnd = end;
    if (next == 0) break;
    // A list may only follow the entries of the one before: every walk then
    // moves forward and ends, whatever the offsets say.
    if (next < end) return kPdbListLoop;
    pos = next;
    ++listNumber;
  }
  layout.listCount = listNumber;
  return 0;
}

}  // namespace

int ScanPdb(std::span<const uint8_t> bytes, const PdbLimits& limits, PdbLayout& layout) {
  layout = PdbLayout{};
  if (bytes.size() > kMaxPdbFileSize) return kPdbFileTooLarge;
  if (bytes.size() < kPdbHeaderSize + kListHeaderSize) return kPdbTruncated;
  uint64_t listsEnd = 0;
  if (const int rc = ScanLists(bytes, layout, listsEnd); rc != 0) {
    layout = PdbLayout{};
    return rc;
  }
  const uint32_t appOffset = ReadBigEndian32(&bytes[kAppInfoField]);
  const uint32_t sortOffset = ReadBigEndian32(&bytes[kSortInfoField]);
  layout.hasAppInfo = appOffset != 0;
  layout.hasSortInfo = sortOffset != 0;
  layout.appInfo.offset = appOffset;
  layout.sortInfo.offset = sortOffset;

  // Every piece in file order; each must lie after the lists, within the
  // file, and not before the piece ahead of it, so the lengths below never
  // reach outside the file or into another piece.
  std::vector<PdbSpan*> pieces;
  if (layout.hasAppInfo) pieces.push_back(&layout.appInfo);
  if (layout.hasSortInfo) pieces.push_back(&layout.sortInfo);
  for (auto& entry : layout.entries) pieces.push_back(&entry.data);
  uint64_t previous = listsEnd;
  for (const PdbSpan* piece : pieces) {
    if (piece->offset < previous || piece->offset > bytes.size()) {
      layout = PdbLayout{};
      return kPdbBadOffset;
    }
    previous = piece->offset;
  }
  for (size_t i = 0; i < pieces.size(); ++i) {
    const uint64_t end = i + 1 < pieces.size() ? pieces[i + 1]->offset : bytes.size();
    pieces[i]->length = static_cast<uint32_t>(end - pieces[i]->offset);
  }

  const auto blockTooLong = [&](bool present, const PdbSpan& block) {
    return present && block.length > limits.maxBlock;
  };
  if (blockTooLong(layout.hasAppInfo, layout.appInfo) ||
      blockTooLong(layout.hasSortInfo, layout.sortInfo)) {
    layout = PdbLayout{};
    return kPdbBlockTooLong;
  }
  for (const auto& entry : layout.entries) {
    if (entry.data.length > limits.maxRecord) {
      layout = PdbLayout{};
      return kPdbRecordTooLong;
    }
  }
  return 0;
}

}  // namespace conduit
