// Pieces the conduit's dialog windows share: text, named controls, size and centred place.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>
#include <string_view>

#include "conduit/dialogs/DialogPlacement.h"

namespace conduit {

// Qs: the logic's UTF-8 as Qt text.
inline QString Qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Named: gives a control its object name (what tests and screenshots find
// it by) and its control number (property "controlId"); returns it.
template <typename W>
W* Named(W* widget, const char* name, uint32_t control) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setProperty("controlId", control);
  return widget;
}

// SizeToTemplate: gives a dialog at least its template's size in pixels.
void SizeToTemplate(QWidget& dialog, PixelSize units);

// CentreOnScreen: moves a top-level dialog to the middle of the screen it
// is on (the primary screen when it has none yet).
void CentreOnScreen(QWidget& dialog);

}  // namespace conduit
