// The shared controls of the folder dialogs.
#include "folders/dialogs/qt/DialogControls.h"

#include <QDialog>
#include <QEvent>
#include <QPushButton>
#include <utility>

#include "folders/strings/FoldersStrings.h"
#include "platform/InputPanel.h"

namespace folders {
namespace {

// PasswordFocusFilter: word completion off while its field has the focus,
// the earlier flags back when it loses it.
class PasswordFocusFilter final : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn && !focused_) {
      previous_ = platform::PasswordFieldFocus();
      focused_ = true;
    } else if (event->type() == QEvent::FocusOut && focused_) {
      platform::PasswordFieldBlur(previous_);
      focused_ = false;
    }
    return QObject::eventFilter(watched, event);
  }

  ~PasswordFocusFilter() override {
    if (focused_) platform::PasswordFieldBlur(previous_);
  }

 private:
  uint32_t previous_ = 0;
  bool focused_ = false;
};

}  // namespace

QString QText(uint32_t id) {
  return Qs(FoldersText(id));
}

QLineEdit* MakePasswordField(const char* name, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setEchoMode(QLineEdit::Password);
  // The handheld masks with "*"; the host style would pick its own dot.
  field->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
  field->installEventFilter(new PasswordFocusFilter(field));
  return field;
}

TimeoutControls TimeoutControls::Make(QWidget* parent, const TimeoutSetting& setting) {
  TimeoutControls c;
  c.box = new QCheckBox(QText(kIdsTimeOut), parent);
  c.box->setObjectName(QStringLiteral("timeoutBox"));
  c.value = new QSpinBox(parent);
  c.value->setObjectName(QStringLiteral("timeout"));
  c.value->setRange(0, static_cast<int>(kTimeoutMaximum));
  c.value->setSingleStep(static_cast<int>(kTimeoutStep));
  c.unit = new QComboBox(parent);
  c.unit->setObjectName(QStringLiteral("timeoutUnit"));
  for (int u = 0; u < static_cast<int>(TimeoutUnit::Count); ++u)
    c.unit->addItem(Qs(TimeoutUnitName(static_cast<TimeoutUnit>(u))));
  c.box->setChecked(setting.box == TimeoutBox::Ticked);
  c.value->setValue(static_cast<int>(std::min(setting.value, kTimeoutMaximum)));
  c.unit->setCurrentIndex(static_cast<int>(setting.unit));
  c.SetEnabled(true);
  QCheckBox* box = c.box;
  QSpinBox* value = c.value;
  QComboBox* unit = c.unit;
  QObject::connect(box, &QCheckBox::toggled, parent, [box, value, unit](bool ticked) {
    value->setEnabled(ticked && box->isEnabled());
    unit->setEnabled(ticked && box->isEnabled());
  });
  return c;
}

TimeoutSetting TimeoutControls::Setting() const {
  TimeoutSetting s;
  s.box = box->isChecked() ? TimeoutBox::Ticked : TimeoutBox::Clear;
  s.value = static_cast<uint32_t>(value->value());
  s.unit = static_cast<TimeoutUnit>(unit->currentIndex() < 0 ? 0 : unit->currentIndex());
  return s;
}

void TimeoutControls::SetEnabled(bool enabled) const {
  box->setEnabled(enabled);
  value->setEnabled(enabled && box->isChecked());
  unit->setEnabled(enabled && box->isChecked());
}

QHBoxLayout* TimeoutControls::Row() const {
  auto* row = new QHBoxLayout;
  row->addWidget(box);
  row->addWidget(value, 1);
  row->addWidget(unit);
  return row;
}

QDialogButtonBox* MakeOkCancel(QDialog* dialog, std::function<void()> ok) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* okButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  okButton->setObjectName(QStringLiteral("ok"));
  okButton->setDefault(true);
  QObject::connect(okButton, &QPushButton::clicked, dialog, std::move(ok));
  QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("cancel"));
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace folders
