// Text between the pages' UTF-8 and Qt, and the naming of controls by number.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>
#include <string_view>

namespace configapp {

// Qs / U8: text between the logic's UTF-8 and Qt.
inline QString Qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string U8(const QString& text) {
  return text.toStdString();
}

// Named: gives a control its object name (what tests and screenshots find
// it by) and its control number (property "controlId"); returns it.
template <typename W>
W* Named(W* widget, const char* name, uint32_t control) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setProperty("controlId", control);
  return widget;
}

}  // namespace configapp
