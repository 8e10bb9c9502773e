// Controls the folder dialogs share: masked password fields, the time-out group, buttons, texts.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QObject>
#include <QSpinBox>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "folders/dialogs/TimeoutSetting.h"

namespace folders {

// Qs / U16: text between the logic's UTF-16 and Qt.
inline QString Qs(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::u16string U16(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

// QText: a numbered text of the program.
QString QText(uint32_t id);

// MakePasswordField: a line edit named `name`, masked with "*", that switches
// the input panel's word completion off while it has the focus.
QLineEdit* MakePasswordField(const char* name, QWidget* parent);

// TimeoutControls: the "TimeOut" box, its value spin (steps of 5 in [0,
// 3600]) and the unit list; the value and unit are enabled by the box.
struct TimeoutControls {
  QCheckBox* box = nullptr;
  QSpinBox* value = nullptr;
  QComboBox* unit = nullptr;

  // Make: creates the three controls under `parent`, showing `setting`.
  static TimeoutControls Make(QWidget* parent, const TimeoutSetting& setting);
  // Setting: what the controls hold.
  TimeoutSetting Setting() const;
  // OnChange: calls `changed` whenever the user changes any of them.
  template <typename F>
  void OnChange(QObject* context, F changed) const {
    QObject::connect(box, &QCheckBox::toggled, context, changed);
    QObject::connect(value, &QSpinBox::valueChanged, context, changed);
    QObject::connect(unit, &QComboBox::currentIndexChanged, context, changed);
  }
  // SetEnabled: enables the box, and the value and unit when it is ticked.
  void SetEnabled(bool enabled) const;
  // Row: the three side by side, the value taking the spare width; the
  // caller's layout takes the row.
  QHBoxLayout* Row() const;
};

// MakeOkCancel: "OK" and "Cancel" buttons named "ok" and "cancel" wired to
// `ok` and to the dialog's reject; OK is the default button. The box belongs
// to `dialog`.
QDialogButtonBox* MakeOkCancel(QDialog* dialog, std::function<void()> ok);

}  // namespace folders
