// The question shown for each infected object when the user is to be asked.
#pragma once

#include <string_view>

namespace scanner {

// DetectionDialog: the modal detection dialog, shown from the scan worker.
class DetectionDialog {
 public:
  virtual ~DetectionDialog() = default;

  // Show: shows the labels and texts with the two check boxes preset to
  // `copy` and `del`. Returns true when the user closed it with OK, and only
  // then has stored the boxes' states into `copy` and `del`; any other way of
  // closing returns false and leaves both as they were.
  virtual bool Show(std::u16string_view objectLabel, std::u16string_view objectText,
                    std::u16string_view virusLabel, std::u16string_view virusText,
                    std::u16string_view description, bool& copy, bool& del) = 0;
};

}  // namespace scanner
