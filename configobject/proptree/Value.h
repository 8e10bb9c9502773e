// Setting and reading the values held in value slots.
#pragma once

#include <cstdint>

#include "configobject/proptree/Node.h"

namespace proptree {

// SetValue: stores `data` in a slot and returns the bytes stored, 0 on
// refusal. Scalars take the value itself with a length of 0 or exactly their
// size; 64/128-bit types a pointer to the value (null clears, returning 0);
// text a pointer and a length in bytes with the terminator (0 measures it);
// wide text the same in characters; a byte block a pointer and a length (null
// or 0 clears). On an array the data is appended: one text, wide text or
// block, or length / element-size fixed elements; null data empties it.
// A refusal leaves the slot as it was.
uint32_t SetValue(ValueSlot* slot, uintptr_t data, uint32_t length);

// GetValue: copies a value into `buffer`. Scalars need `size` equal to their
// memory size. Texts copy at most size - 1 units and a terminator and return
// the full length in bytes with the terminator (no buffer: that size); a slot
// without text writes an empty string and returns 0. Blocks copy at most
// `size` bytes and return the full length. Arrays and groups return 0.
uint32_t GetValue(const ValueSlot* slot, void* buffer, uint32_t size);

// ArrayCount: the number of elements, 0 for a non-array slot.
uint32_t ArrayCount(const ValueSlot* slot);

// ArrayElement: copies element `index`. Texts copy at most size - 1 units and
// a terminator and return the bytes written with it (no buffer: the full
// length); blocks copy at most `size` bytes; fixed-size elements need at least
// their size. An index at or beyond the count gives 0.
uint32_t ArrayElement(const ValueSlot* slot, uint32_t index, void* buffer, uint32_t size);

// SetArrayStep: the growth step of an array slot; false for a non-array.
bool SetArrayStep(ValueSlot* slot, uint16_t step);

// AppendElements: appends `count` fixed-size elements (memory layout) to an
// array slot; they may be taken from the array itself. False on a text/block
// array or no memory.
bool AppendElements(ValueSlot* slot, const void* elements, uint32_t count);

// AppendRef: appends one text (exact bytes, terminator added), wide text
// (exact characters, terminator added) or block to an array; false otherwise.
bool AppendRef(ValueSlot* slot, const void* units, uint32_t unitCount);

// ReleaseValue: frees what a slot holds and zeroes its value; the identifier stays.
void ReleaseValue(ValueSlot* slot);

}  // namespace proptree
