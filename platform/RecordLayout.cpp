// The kept form of record properties and the read buffer laid out from it.
#include "platform/RecordLayout.h"

#include <bit>
#include <cstddef>
#include <cstring>
#include <unordered_map>

#include "platform/Errors.h"

namespace platform {

static_assert(offsetof(PropertyHeader, propid) == 0);
static_assert(offsetof(PropertyHeader, lenData) == 4);
static_assert(offsetof(PropertyHeader, flags) == 6);
static_assert(offsetof(PropertyHeader, value) == 8);
static_assert(offsetof(PropertyHeader, extra) == 12);

namespace {

uint16_t TypeOf(uint32_t propid) {
  return static_cast<uint16_t>(propid & 0xFFFF);
}

}  // namespace

bool HasBytes(uint32_t propid) {
  return TypeOf(propid) == CEVT_LPWSTR || TypeOf(propid) == CEVT_BLOB;
}

std::vector<uint8_t> Utf16LeBytes(std::u16string_view text) {
  std::vector<uint8_t> out;
  out.reserve(text.size() * 2);
  for (char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  return out;
}

std::u16string Utf16FromLeBytes(std::span<const uint8_t> bytes) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    out.push_back(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
  return out;
}

uint32_t ToStoredProperty(const PropertyValue& v, StoredProperty* out) {
  out->propid = v.propid;
  out->bytes.clear();
  switch (TypeOf(v.propid)) {
    case CEVT_I2:
      out->number = static_cast<int16_t>(v.number);
      return ERROR_SUCCESS;
    case CEVT_UI2:
      out->number = static_cast<uint16_t>(v.number);
      return ERROR_SUCCESS;
    case CEVT_I4:
    case CEVT_BOOL:
      out->number = static_cast<int32_t>(v.number);
      return ERROR_SUCCESS;
    case CEVT_UI4:
      out->number = static_cast<uint32_t>(v.number);
      return ERROR_SUCCESS;
    case CEVT_FILETIME:
      out->number = v.number;
      return ERROR_SUCCESS;
    case CEVT_R8:
      out->number = std::bit_cast<int64_t>(v.real);
      return ERROR_SUCCESS;
    case CEVT_LPWSTR:
      if (v.text.find(u'\0') != std::u16string::npos) return ERROR_INVALID_PARAMETER;
      out->number = 0;
      out->bytes = Utf16LeBytes(v.text);
      return ERROR_SUCCESS;
    case CEVT_BLOB:
      out->number = 0;
      out->bytes = v.bytes;
      return ERROR_SUCCESS;
    default:
      return ERROR_INVALID_PARAMETER;
  }
}

void MergeProperties(std::vector<StoredProperty>& into, std::vector<StoredProperty>&& add) {
  // By id, so that merging stays linear for records with many properties.
  std::unordered_map<uint32_t, size_t> at;
  at.reserve(into.size() + add.size());
  for (size_t i = 0; i < into.size(); ++i) at.emplace(into[i].propid, i);
  for (auto& p : add) {
    auto [it, added] = at.emplace(p.propid, into.size());
    if (added)
      into.push_back(std::move(p));
    else
      into[it->second] = std::move(p);
  }
}

uint64_t RecordBufferSize(std::span<const StoredProperty> props) {
  uint64_t at = uint64_t{sizeof(PropertyHeader)} * props.size();
  for (const auto& p : props) {
    if (TypeOf(p.propid) == CEVT_LPWSTR) at += (at & 1) + p.bytes.size() + 2;
    if (TypeOf(p.propid) == CEVT_BLOB) at += p.bytes.size();
  }
  return at;
}

uint32_t FillRecordBuffer(std::span<const StoredProperty> props, std::vector<uint8_t>& buffer) {
  const auto size = static_cast<size_t>(RecordBufferSize(props));
  if (buffer.size() < size) buffer.resize(size);
  std::memset(buffer.data(), 0, size);
  size_t at = sizeof(PropertyHeader) * props.size();
  for (size_t i = 0; i < props.size(); ++i) {
    const auto& p = props[i];
    PropertyHeader h{p.propid, 0, 0, 0, 0};
    const auto bits = static_cast<uint64_t>(p.number);
    switch (TypeOf(p.propid)) {
      case CEVT_LPWSTR:
        at += at & 1;
        h.value = static_cast<uint32_t>(at);
        if (!p.bytes.empty()) std::memcpy(buffer.data() + at, p.bytes.data(), p.bytes.size());
        at += p.bytes.size() + 2;  // the terminator is already zero
        break;
      case CEVT_BLOB:
        h.value = static_cast<uint32_t>(p.bytes.size());
        h.extra = static_cast<uint32_t>(at);
        if (!p.bytes.empty()) std::memcpy(buffer.data() + at, p.bytes.data(), p.bytes.size());
        at += p.bytes.size();
        break;
      case CEVT_I2:
      case CEVT_UI2:
        // A 16-bit number fills the low half of the value; the rest is zero.
        h.value = static_cast<uint16_t>(bits);
        break;
      case CEVT_R8:
      case CEVT_FILETIME:
        h.value = static_cast<uint32_t>(bits);
        h.extra = static_cast<uint32_t>(bits >> 32);
        break;
      default:
        h.value = static_cast<uint32_t>(bits);
        break;
    }
    std::memcpy(buffer.data() + i * sizeof(PropertyHeader), &h, sizeof h);
  }
  return static_cast<uint32_t>(size);
}

}  // namespace platform
