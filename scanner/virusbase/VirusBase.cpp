// Record list ownership and bounded text access.
#include "scanner/virusbase/VirusBase.h"

#include "platform/Text.h"
#include "scanner/virusbase/SignatureIndex.h"

namespace scanner {

std::u16string_view VirusRecord::nameText() const {
  return platform::FieldText(name);
}

std::u16string_view VirusRecord::descriptionText() const {
  return platform::FieldText(description);
}

// Out of line, as the index's type is complete only here.
VirusBase::VirusBase() = default;

VirusBase::~VirusBase() {
  index.reset();  // it points into the records
  while (head != nullptr) {
    VirusRecord* next = head->next;
    delete head;
    head = next;
  }
}

void VirusBase::PushFront(std::unique_ptr<VirusRecord> record) {
  record->next = head;
  head = record.release();
}

}  // namespace scanner
