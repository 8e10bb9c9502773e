// QMessageBox behind the injected prompt.
#include "ui/QtPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <vector>

namespace ui {
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

int ShowOnThisThread(const QString& text, const QString& caption, uint32_t flags) {
  QMessageBox box(IconOf(flags), caption, text, QMessageBox::NoButton,
                  QApplication::activeWindow());
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

}  // namespace

int QtPrompt::Show(std::string_view text, std::string_view caption, uint32_t flags) {
  const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QString qcaption =
      QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || QThread::currentThread() == app->thread())
    return ShowOnThisThread(qtext, qcaption, flags);
  // Widgets live on the GUI thread: a worker's question waits there for the answer.
  int answer = platform::NegativeAnswer(flags);
  QMetaObject::invokeMethod(
      app, [&] { answer = ShowOnThisThread(qtext, qcaption, flags); },
      Qt::BlockingQueuedConnection);
  return answer;
}

}  // namespace ui
