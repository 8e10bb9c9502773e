// Record properties as the object store keeps them, and the read buffer they make.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ObjectStore.h"

namespace platform {

// StoredProperty: one property as kept: a number (R8 as its bits) or bytes
// (text as UTF-16LE without terminator, a blob as is).
struct StoredProperty {
  uint32_t propid = 0;
  int64_t number = 0;
  std::vector<uint8_t> bytes;
};

// HasBytes: true for the types kept as bytes (CEVT_LPWSTR, CEVT_BLOB).
bool HasBytes(uint32_t propid);

// ToStoredProperty: the property as kept, numbers cut to their type's
// width. ERROR_INVALID_PARAMETER for an unknown type or text with a NUL in
// it (the handheld measures text by its terminator).
uint32_t ToStoredProperty(const PropertyValue& value, StoredProperty* out);

// MergeProperties: puts each property of add in the place of the one of the
// same id in into, or after the others when the id is new.
void MergeProperties(std::vector<StoredProperty>& into, std::vector<StoredProperty>&& add);

// RecordBufferSize: the bytes a read of these properties fills: the
// headers, then each string (at an even offset, with its terminator) and
// blob in property order.
uint64_t RecordBufferSize(std::span<const StoredProperty> props);

// FillRecordBuffer: lays the properties out in buffer (enlarged, never
// shrunk) as PropertyHeader describes; returns the bytes used, every one of
// them written (padding zero). The caller has checked that the size fits
// 32 bits.
uint32_t FillRecordBuffer(std::span<const StoredProperty> props, std::vector<uint8_t>& buffer);

// Utf16LeBytes / Utf16FromLeBytes: text to and from UTF-16LE bytes.
std::vector<uint8_t> Utf16LeBytes(std::u16string_view text);
std::u16string Utf16FromLeBytes(std::span<const uint8_t> bytes);

}  // namespace platform
