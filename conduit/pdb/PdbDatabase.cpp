// The general database model: reading every record list and writing the one-list form.
#include "conduit/pdb/PdbDatabase.h"

#include <algorithm>
#include <cstring>

#include "conduit/pdb/PdbLayout.h"

namespace conduit {

namespace {

constexpr size_t kTypeField = 60;
constexpr size_t kCreatorField = 64;
constexpr size_t kCodeSize = 4;
constexpr size_t kAppInfoField = 52;
constexpr size_t kSortInfoField = 56;
constexpr size_t kNextListField = 72;
constexpr size_t kCountField = 76;
constexpr size_t kEntriesStart = 78;
constexpr size_t kEntrySize = 8;
constexpr size_t kListPadding = 2;

std::string Code(const std::array<uint8_t, kPdbHeaderSize>& header, size_t at) {
  const auto* p = reinterpret_cast<const char*>(header.data() + at);
  return std::string(p, strnlen(p, kCodeSize));
}

void SetCode(std::array<uint8_t, kPdbHeaderSize>& header, size_t at, std::string_view code) {
  std::fill_n(header.begin() + at, kCodeSize, 0);
  std::copy_n(code.begin(), std::min(code.size(), kCodeSize), header.begin() + at);
}

}  // namespace

std::string PdbDatabase::Name() const {
  const auto* p = reinterpret_cast<const char*>(header.data());
  return std::string(p, strnlen(p, kPdbNameSize));
}

void PdbDatabase::SetName(std::string_view name) {
  std::fill_n(header.begin(), kPdbNameSize, 0);
  std::copy_n(name.begin(), std::min(name.size(), kPdbNameSize - 1), header.begin());
}

std::string PdbDatabase::Type() const {
  return Code(header, kTypeField);
}
std::string PdbDatabase::Creator() const {
  return Code(header, kCreatorField);
}
void PdbDatabase::SetType(std::string_view code) {
  SetCode(header, kTypeField, code);
}
void PdbDatabase::SetCreator(std::string_view code) {
  SetCode(header, kCreatorField, code);
}

uint32_t PdbDatabase::NextUniqueId() const {
  uint32_t largest = 0;
  for (const auto& r : records) largest = std::max(largest, r.uniqueId & 0xFFFFFF);
  if (largest < 0xFFFFFF) return largest + 1;
  // The top id is taken: the lowest free one, if any.
  std::vector<uint32_t> ids;
  for (const auto& r : records) ids.push_back(r.uniqueId & 0xFFFFFF);
  std::sort(ids.begin(), ids.end());
  uint32_t candidate = 1;
  for (uint32_t id : ids) {
    if (id == candidate) ++candidate;
    if (id > candidate) break;
  }
  return candidate <= 0xFFFFFF ? candidate : 0;
}

int ParsePdbDatabase(std::span<const uint8_t> bytes, PdbDatabase& database) {
  database = PdbDatabase{};
  PdbLayout layout;
  if (const int rc = ScanPdb(bytes, PdbLimits{}, layout); rc != 0) return rc;
  std::copy_n(bytes.begin(), kPdbHeaderSize, database.header.begin());
  const auto piece = [&](const PdbSpan& span) {
    const auto first = bytes.begin() + span.offset;
    return std::vector<uint8_t>(first, first + span.length);
  };
  database.hasAppInfo = layout.hasAppInfo;
  if (layout.hasAppInfo) database.appInfo = piece(layout.appInfo);
  database.hasSortInfo = layout.hasSortInfo;
  if (layout.hasSortInfo) database.sortInfo = piece(layout.sortInfo);
  database.records.reserve(layout.entries.size());
  for (const auto& entry : layout.entries)
    database.records.push_back({entry.attributes, entry.uniqueId, piece(entry.data)});
  return 0;
}

void WriteBigEndian16(uint8_t* p, uint16_t value) {
  p[0] = static_cast<uint8_t>(value >> 8);
  p[1] = static_cast<uint8_t>(value);
}

void WriteBigEndian32(uint8_t* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

std::vector<uint8_t> SerializePdb(const PdbDatabase& database) {
  const size_t count = database.records.size();
  size_t size = kEntriesStart + count * kEntrySize + kListPadding;
  const size_t appOffset = size;
  if (database.hasAppInfo) size += database.appInfo.size();
  const size_t sortOffset = size;
  if (database.hasSortInfo) size += database.sortInfo.size();
  for (const auto& r : database.records) size += r.data.size();

  std::vector<uint8_t> out(size, 0);
  std::copy(database.header.begin(), database.header.end(), out.begin());
  WriteBigEndian32(&out[kAppInfoField], database.hasAppInfo ? static_cast<uint32_t>(appOffset) : 0);
  WriteBigEndian32(&out[kSortInfoField],
                   database.hasSortInfo ? static_cast<uint32_t>(sortOffset) : 0);
  WriteBigEndian32(&out[kNextListField], 0);
  WriteBigEndian16(&out[kCountField], static_cast<uint16_t>(count));
  size_t at = kEntriesStart + count * kEntrySize + kListPadding;
  const auto put = [&](const std::vector<uint8_t>& data) {
    std::copy(data.begin(), data.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
    at += data.size();
  };
  if (database.hasAppInfo) put(database.appInfo);
  if (database.hasSortInfo) put(database.sortInfo);
  for (size_t i = 0; i < count; ++i) {
    const auto& r = database.records[i];
    uint8_t* entry = &out[kEntriesStart + i * kEntrySize];
    WriteBigEndian32(entry, static_cast<uint32_t>(at));
    entry[4] = r.attributes;
    entry[5] = static_cast<uint8_t>(r.uniqueId >> 16);
    entry[6] = static_cast<uint8_t>(r.uniqueId >> 8);
    entry[7] = static_cast<uint8_t>(r.uniqueId);
    put(r.data);
  }
  return out;
}

}  // namespace conduit
