// Record list ownership and bounded text access.
#include "scanner/virusbase/VirusBase.h"

#include "platform/Text.h"

namespace scanner {

std::u16string_view VirusRecord::nameText() const {
  return platform::FieldText(name);
}

std::u16string_view VirusRecord::descriptionText() const {
  return platform::FieldText(description);
}

VirusBase::~VirusBase() {
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
