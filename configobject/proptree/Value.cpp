// Values of slots: scalars, texts, blocks and arrays, in the tree's memory.
#include "configobject/proptree/Value.h"

#include <cstring>

#include "configobject/proptree/Allocation.h"

namespace proptree {
namespace {

constexpr uint32_t kMaxElements = 0x10000000;  // keeps element arithmetic far from overflow

Storage StorageOf(const ValueSlot* slot) {
  return TypeInfoOf(ValueTypeOf(slot->id)).storage;
}

// UnitSize: bytes of one unit of a text or block.
uint32_t UnitSize(Storage s) {
  return s == Storage::WideText ? 2 : 1;
}

size_t MeasureText(uintptr_t data, Storage s) {
  if (s == Storage::WideText) {
    const auto* p = reinterpret_cast<const char16_t*>(data);
    size_t n = 0;
    while (p[n] != 0) ++n;
    return n;
  }
  return std::strlen(reinterpret_cast<const char*>(data));
}

// MakeRef: a new block holding `units` units and, for texts, a terminator.
bool MakeRef(ValueRef* ref, Storage s, const void* units, uint32_t count) {
  const bool text = s != Storage::Block;
  const uint32_t total = count + (text ? 1 : 0);
  const size_t bytes = static_cast<size_t>(total) * UnitSize(s);
  void* block = Allocate(bytes);
  if (block == nullptr) return false;
  if (count > 0) std::memcpy(block, units, static_cast<size_t>(count) * UnitSize(s));
  if (text) std::memset(static_cast<uint8_t*>(block) + count * UnitSize(s), 0, UnitSize(s));
  ref->data = block;
  ref->length = total;
  return true;
}

// Reserve: room for `extra` more elements. A replaced block is handed back in
// `retired` rather than released, since the caller may be copying from it.
bool Reserve(ArrayValue* array, uint32_t extra, uint8_t** retired) {
  *retired = nullptr;
  if (extra > kMaxElements || array->count > kMaxElements - extra) return false;
  const uint32_t needed = array->count + extra;
  if (needed <= array->capacity) return true;
  const uint32_t step = array->step == 0 ? 1 : array->step;
  const uint64_t capacity = (static_cast<uint64_t>(needed) + step - 1) / step * step;
  const size_t bytes = static_cast<size_t>(capacity) * array->elementSize;
  auto* block = static_cast<uint8_t*>(Allocate(bytes));
  if (block == nullptr) return false;
  const size_t used = static_cast<size_t>(array->count) * array->elementSize;
  if (used > 0) std::memcpy(block, array->elements, used);
  std::memset(block + used, 0, bytes - used);
  *retired = array->elements;
  array->elements = block;
  array->capacity = static_cast<uint32_t>(capacity);
  return true;
}

void EmptyArray(ValueSlot* slot) {
  ArrayValue& a = slot->array;
  if (IsHeldByRef(StorageOf(slot))) {
    auto* refs = reinterpret_cast<ValueRef*>(a.elements);
    for (uint32_t i = 0; i < a.count; ++i) Release(refs[i].data);
  }
  Release(a.elements);
  a.elements = nullptr;
  a.count = 0;
  a.capacity = 0;
}

// CopyText: at most cap - 1 units and a terminator; the units copied.
uint32_t CopyText(void* buffer, uint32_t cap, const ValueRef& ref, uint32_t unit) {
  const uint32_t have = ref.length > 0 ? ref.length - 1 : 0;
  const uint32_t n = have < cap - 1 ? have : cap - 1;
  if (n > 0) std::memcpy(buffer, ref.data, static_cast<size_t>(n) * unit);
  std::memset(static_cast<uint8_t*>(buffer) + static_cast<size_t>(n) * unit, 0, unit);
  return n;
}

uint32_t SetArray(ValueSlot* slot, Storage s, uintptr_t data, uint32_t length) {
  if (data == 0) {
    EmptyArray(slot);
    return 0;
  }
  if (s == Storage::Text || s == Storage::WideText) {
    size_t units = length == 0 ? MeasureText(data, s) : length;
    if (length != 0) {
      // A terminator at the end of the given units is dropped; AppendRef adds one.
      const uint8_t* last = reinterpret_cast<const uint8_t*>(data) + (units - 1) * UnitSize(s);
      if ((s == Storage::Text ? last[0] : (last[0] | last[1])) == 0) --units;
    }
    if (units >= 0xFFFFFFFFu) return 0;
    if (!AppendRef(slot, reinterpret_cast<const void*>(data), static_cast<uint32_t>(units))) {
      return 0;
    }
    return static_cast<uint32_t>(units + 1) * UnitSize(s);
  }
  if (s == Storage::Block) {
    if (length == 0) return 0;
    return AppendRef(slot, reinterpret_cast<const void*>(data), length) ? length : 0;
  }
  const uint32_t size = slot->array.elementSize;
  const uint32_t count = length / size;
  if (count == 0) return 0;
  return AppendElements(slot, reinterpret_cast<const void*>(data), count) ? count * size : 0;
}

uint32_t SetRef(ValueSlot* slot, Storage s, uintptr_t data, uint32_t length) {
  if (data == 0 || (s == Storage::Block && length == 0)) {
    ReleaseValue(slot);
    return 0;
  }
  const uint32_t unit = UnitSize(s);
  if (s == Storage::Block) {
    ValueRef fresh;
    if (!MakeRef(&fresh, s, reinterpret_cast<const void*>(data), length)) return 0;
    Release(slot->ref.data);
    slot->ref = fresh;
    return length;
  }
  if (length == 0) {
    const size_t measured = MeasureText(data, s);
    if (measured >= 0xFFFFFFFFu) return 0;
    length = static_cast<uint32_t>(measured) + 1;
  }
  const size_t copy = static_cast<size_t>(length - 1) * unit;
  void* target = slot->ref.data;
  if (length != slot->ref.length || target == nullptr) {
    target = Allocate(static_cast<size_t>(length) * unit);
    if (target == nullptr) return 0;
  }
  // memmove: the caller may hand in the slot's own text; the old block goes last.
  std::memmove(target, reinterpret_cast<const void*>(data), copy);
  std::memset(static_cast<uint8_t*>(target) + copy, 0, unit);
  if (target != slot->ref.data) Release(slot->ref.data);
  slot->ref.data = target;
  slot->ref.length = length;
  return length * unit;
}

}  // namespace

uint32_t SetValue(ValueSlot* slot, uintptr_t data, uint32_t length) {
  if (slot == nullptr) return 0;
  const TypeInfo info = TypeInfoOf(ValueTypeOf(slot->id));
  if (IsArrayId(slot->id)) {
    if (info.storage == Storage::Group || info.storage == Storage::Invalid) return 0;
    return SetArray(slot, info.storage, data, length);
  }
  switch (info.storage) {
    case Storage::Scalar:
    case Storage::Boolean: {
      if (length != 0 && length != info.memorySize) return 0;
      const uint64_t value = data;
      std::memset(slot->scalar, 0, sizeof slot->scalar);
      for (uint32_t i = 0; i < info.memorySize; ++i) slot->scalar[i] = (value >> (8 * i)) & 0xFF;
      return info.memorySize;
    }
    case Storage::Wide:
      if (length != 0 && length != info.memorySize) return 0;
      if (data == 0) {
        std::memset(slot->scalar, 0, sizeof slot->scalar);
        return 0;
      }
      // memmove: the value may be handed in from this very slot.
      std::memmove(slot->scalar, reinterpret_cast<const void*>(data), info.memorySize);
      std::memset(slot->scalar + info.memorySize, 0, sizeof slot->scalar - info.memorySize);
      return info.memorySize;
    case Storage::Text:
    case Storage::WideText:
    case Storage::Block:
      return SetRef(slot, info.storage, data, length);
    case Storage::Group:
    case Storage::Invalid:
      break;
  }
  return 0;
}

uint32_t GetValue(const ValueSlot* slot, void* buffer, uint32_t size) {
  if (slot == nullptr || IsArrayId(slot->id)) return 0;
  const TypeInfo info = TypeInfoOf(ValueTypeOf(slot->id));
  switch (info.storage) {
    case Storage::Scalar:
    case Storage::Boolean:
    case Storage::Wide:
      if (buffer == nullptr || size != info.memorySize) return 0;
      std::memcpy(buffer, slot->scalar, size);
      return size;
    case Storage::Text:
    case Storage::WideText: {
      const uint32_t unit = UnitSize(info.storage);
      const uint32_t cap = size / unit;
      if (slot->ref.data == nullptr) {
        if (buffer != nullptr && cap > 0) std::memset(buffer, 0, unit);
        return 0;
      }
      if (buffer != nullptr && cap > 0) CopyText(buffer, cap, slot->ref, unit);
      return slot->ref.length * unit;
    }
    case Storage::Block:
      if (buffer != nullptr && slot->ref.length > 0) {
        std::memcpy(buffer, slot->ref.data, size < slot->ref.length ? size : slot->ref.length);
      }
      return slot->ref.length;
    case Storage::Group:
    case Storage::Invalid:
      break;
  }
  return 0;
}

uint32_t ArrayCount(const ValueSlot* slot) {
  return slot != nullptr && IsArrayId(slot->id) ? slot->array.count : 0;
}

uint32_t ArrayElement(const ValueSlot* slot, uint32_t index, void* buffer, uint32_t size) {
  if (slot == nullptr || !IsArrayId(slot->id) || index >= slot->array.count) return 0;
  const Storage s = StorageOf(slot);
  const uint8_t* element =
      slot->array.elements + static_cast<size_t>(index) * slot->array.elementSize;
  if (IsHeldByRef(s)) {
    const auto* ref = reinterpret_cast<const ValueRef*>(element);
    const uint32_t unit = UnitSize(s);
    if (buffer == nullptr) return ref->length * unit;
    if (s == Storage::Block) {
      const uint32_t n = size < ref->length ? size : ref->length;
      if (n > 0) std::memcpy(buffer, ref->data, n);
      return n;
    }
    const uint32_t cap = size / unit;
    if (cap == 0) return 0;
    return (CopyText(buffer, cap, *ref, unit) + 1) * unit;
  }
  if (buffer == nullptr || size < slot->array.elementSize) return 0;
  std::memcpy(buffer, element, slot->array.elementSize);
  return slot->array.elementSize;
}

bool SetArrayStep(ValueSlot* slot, uint16_t step) {
  if (slot == nullptr || !IsArrayId(slot->id)) return false;
  slot->array.step = step;
  return true;
}

bool AppendElements(ValueSlot* slot, const void* elements, uint32_t count) {
  if (slot == nullptr || !IsArrayId(slot->id) || IsHeldByRef(StorageOf(slot))) return false;
  if (slot->array.elementSize == 0) return false;
  if (count == 0) return true;
  // The elements may come from this array itself; its old block goes last.
  uint8_t* retired;
  if (!Reserve(&slot->array, count, &retired)) return false;
  ArrayValue& a = slot->array;
  std::memmove(a.elements + static_cast<size_t>(a.count) * a.elementSize, elements,
               static_cast<size_t>(count) * a.elementSize);
  a.count += count;
  Release(retired);
  return true;
}

bool AppendRef(ValueSlot* slot, const void* units, uint32_t unitCount) {
  if (slot == nullptr || !IsArrayId(slot->id)) return false;
  const Storage s = StorageOf(slot);
  if (!IsHeldByRef(s) || unitCount >= 0xFFFFFFFFu) return false;
  uint8_t* retired;
  if (!Reserve(&slot->array, 1, &retired)) return false;
  Release(retired);
  ValueRef ref;
  if (!MakeRef(&ref, s, units, unitCount)) return false;
  ArrayValue& a = slot->array;
  reinterpret_cast<ValueRef*>(a.elements)[a.count++] = ref;
  return true;
}

void ReleaseValue(ValueSlot* slot) {
  if (slot == nullptr) return;
  if (IsArrayId(slot->id)) {
    EmptyArray(slot);
  } else {
    Release(slot->ref.data);
  }
  slot->ref = ValueRef{};
  std::memset(slot->scalar, 0, sizeof slot->scalar);
}

}  // namespace proptree
