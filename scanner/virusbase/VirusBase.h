// The loaded virus database: a singly linked list of virus records.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "scanner/virusbase/MatchEngine.h"

namespace scanner {

class SignatureIndex;

// VirusRecord: one record of a base file, created zero-filled.
struct VirusRecord {
  char16_t name[32] = {};  // not terminated when all 32 units are used
  uint32_t value = 0;
  uint32_t signatureLength = 0;
  std::unique_ptr<uint8_t[]> signature;
  char16_t description[128] = {};  // not terminated when all 128 units are used
  VirusRecord* next = nullptr;

  // nameText / descriptionText: the text up to the first NUL or the end of
  // the field, never beyond it.
  std::u16string_view nameText() const;
  std::u16string_view descriptionText() const;
};

// VirusBase: owns every record and signature buffer of the list starting at
// head; virusCount sums the header counts of the files loaded into it.
// engine chooses how FindVirus matches; with kIndex, LoadBase (re)builds
// index over the whole list after every file, and FindVirus uses it while it
// was built for the list as it stands (same head). A list changed by hand
// needs BuildIndex (SignatureIndex.h) or is searched by the reference engine.
struct VirusBase {
  VirusRecord* head = nullptr;
  int32_t virusCount = 0;
  MatchEngine engine = DefaultMatchEngine();
  std::unique_ptr<SignatureIndex> index;

  VirusBase();
  VirusBase(const VirusBase&) = delete;
  VirusBase& operator=(const VirusBase&) = delete;
  // ~VirusBase: frees the records one after the other (no recursion).
  ~VirusBase();

  // PushFront: takes ownership of record and puts it at the head.
  void PushFront(std::unique_ptr<VirusRecord> record);
};

}  // namespace scanner
