// Numbered texts of the scanner as Qt strings.
#include "scanner/ui/dialogs/qt/QtText.h"

#include "scanner/strings/ScannerStrings.h"
#include "scanner/ui/dialogs/DialogTexts.h"

namespace scanner_dialogs {

QString LabelText(uint32_t id) {
  return Qs(DisplayText(scanner::ScannerText(id)));
}

QString ButtonText(uint32_t id) {
  return Qs(scanner::ScannerText(id));
}

}  // namespace scanner_dialogs
