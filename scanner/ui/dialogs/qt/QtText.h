// Text between the scanner's UTF-16 strings and Qt, and numbered texts as Qt strings.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace scanner_dialogs {

// Qs / U16: the same text as a QString and as UTF-16.
inline QString Qs(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::u16string U16(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

// LabelText: a numbered text for a plain label ("&&" shown as one "&").
QString LabelText(uint32_t id);

// ButtonText: a numbered text for a button or check box, which show "&&" as
// one "&" themselves.
QString ButtonText(uint32_t id);

}  // namespace scanner_dialogs
