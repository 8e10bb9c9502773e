// QMessageBox behind the injected prompt.
#include "configobject/layout/qt/QtPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace layout {
namespace {

QMessageBox::Icon IconOf(uint32_t flags) {
  switch (flags & platform::MB_ICONMASK) {
    case platform::MB_ICONERROR:
      return QMessageBox::Critical;
    case platform::MB_ICONQUESTION:
      return QMessageBox::Question;
    case platform::MB_ICONWARNING:
      return QMessageBox::Warning;
    case platform::MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

QString Label(int answer) {
  return QString::fromUtf8(platform::AnswerName(answer));
}

}  // namespace

int QtPrompt::Show(std::string_view text, std::string_view caption, uint32_t flags) {
  QMessageBox box(IconOf(flags),
                  QString::fromUtf8(caption.data(), static_cast<int>(caption.size())),
                  QString::fromUtf8(text.data(), static_cast<int>(text.size())),
                  QMessageBox::NoButton, QApplication::activeWindow());
  const std::vector<int> answers = platform::Buttons(flags);
  std::vector<QAbstractButton*> buttons;
  for (int answer : answers) {
    QPushButton* b = box.addButton(Label(answer), QMessageBox::ActionRole);
    if (answer == platform::DefaultAnswer(flags)) box.setDefaultButton(b);
    buttons.push_back(b);
  }
  box.exec();
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (box.clickedButton() == buttons[i]) return answers[i];
  }
  return platform::NegativeAnswer(flags);  // closed without a button
}

}  // namespace layout
