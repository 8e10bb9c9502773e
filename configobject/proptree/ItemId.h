// Item identifiers of property trees and the table of their value types.
#pragma once

#include <cstdint>

namespace proptree {

// ItemId: bits 0-15 item number, 16-23 group code, 24-29 value type, 30 array
// flag; bit 31 takes no part in comparisons.
using ItemId = uint32_t;

inline constexpr ItemId kNodeAddressId = 0x09000001;  // on every node; ends stream property lists
inline constexpr ItemId kSelectorId = 0x07000001;     // path element that selects by position
inline constexpr ItemId kOwnValueId = 0x01000000;     // like 0: the node's own value
inline constexpr uint32_t kArrayFlag = 0x40000000;
inline constexpr uint32_t kIgnoredBit = 0x80000000;

constexpr uint32_t ItemNumber(ItemId id) {
  return id & 0xFFFF;
}
constexpr uint32_t GroupCode(ItemId id) {
  return (id >> 16) & 0xFF;
}
constexpr uint32_t ValueTypeOf(ItemId id) {
  return (id >> 24) & 0x3F;
}
constexpr bool IsArrayId(ItemId id) {
  return (id & kArrayFlag) != 0;
}
// SameItem: true when two identifiers are equal apart from bit 31.
constexpr bool SameItem(ItemId a, ItemId b) {
  return ((a ^ b) & ~kIgnoredBit) == 0;
}

enum class Array : uint8_t { No, Yes };

// MakeItemId: an identifier from its fields.
constexpr ItemId MakeItemId(uint32_t type, uint32_t group, uint32_t number,
                            Array array = Array::No) {
  return ((type & 0x3F) << 24) | ((group & 0xFF) << 16) | (number & 0xFFFF) |
         (array == Array::Yes ? kArrayFlag : 0);
}

// How a value type is held; Wide covers the 64- and 128-bit types, which are
// set through a pointer.
enum class Storage : uint8_t { Invalid, Group, Scalar, Boolean, Wide, Text, WideText, Block };

struct TypeInfo {
  Storage storage;
  uint8_t memorySize;  // bytes of one value in memory (texts and blocks: 0, held by pointer)
  uint8_t streamSize;  // bytes of one value in the stream (texts and blocks: 0, length-prefixed)
  const char* name;    // the name the readable text form uses
};

inline constexpr uint32_t kTypeText = 0x28;
inline constexpr uint32_t kTypeWideText = 0x29;
inline constexpr uint32_t kTypeBlock = 0x2A;
inline constexpr uint32_t kTypeCount = 64;

// TypeInfoOf: the table row of a value type (0-63); invalid types have
// Storage::Invalid and the name null.
constexpr TypeInfo TypeInfoOf(uint32_t type) {
  switch (type) {
    case 1:
      return {Storage::Group, 0, 0, "group"};
    case 2:
      return {Storage::Scalar, 1, 1, "u8"};
    case 6:
      return {Storage::Scalar, 1, 1, "u8#6"};
    case 7:
      return {Storage::Scalar, 1, 1, "choice"};
    case 3:
      return {Storage::Scalar, 2, 2, "u16"};
    case 4:
      return {Storage::Scalar, 2, 2, "u16#4"};
    case 8:
      return {Storage::Scalar, 2, 2, "u16#8"};
    case 5:
      return {Storage::Scalar, 4, 4, "u32"};
    case 9:
      return {Storage::Scalar, 4, 4, "u32#9"};
    case 14:
      return {Storage::Scalar, 4, 4, "u32#14"};
    case 15:
      return {Storage::Scalar, 4, 4, "u32#15"};
    case 10:
      return {Storage::Boolean, 4, 1, "bool"};
    case 11:
      return {Storage::Wide, 8, 8, "u64"};
    case 12:
      return {Storage::Wide, 8, 8, "u64#12"};
    case 13:
      return {Storage::Wide, 16, 16, "u128"};
    case 16:
      return {Storage::Wide, 8, 8, "u64#16"};
    case 17:
      return {Storage::Wide, 8, 8, "u64#17"};
    case kTypeText:
      return {Storage::Text, 0, 0, "text"};
    case kTypeWideText:
      return {Storage::WideText, 0, 0, "wtext"};
    case kTypeBlock:
      return {Storage::Block, 0, 0, "bytes"};
    default:
      return {Storage::Invalid, 0, 0, nullptr};
  }
}

// IsHeldByRef: true for the kinds held through a ValueRef (texts and blocks)
// rather than inline.
constexpr bool IsHeldByRef(Storage s) {
  return s == Storage::Text || s == Storage::WideText || s == Storage::Block;
}

// IsValidItemId: true when the type is in the table and the array flag is not
// set on a group.
constexpr bool IsValidItemId(ItemId id) {
  const Storage s = TypeInfoOf(ValueTypeOf(id)).storage;
  return s != Storage::Invalid && !(s == Storage::Group && IsArrayId(id));
}

static_assert(TypeInfoOf(10).memorySize == 4 && TypeInfoOf(10).streamSize == 1);
static_assert(TypeInfoOf(13).memorySize == 16);
static_assert(ValueTypeOf(kNodeAddressId) == 9 && ValueTypeOf(kSelectorId) == 7);

}  // namespace proptree
