// The About box's widgets.
#include "scanner/ui/dialogs/qt/AboutWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "scanner/ui/dialogs/DialogTexts.h"
#include "scanner/ui/dialogs/qt/QtText.h"

namespace scanner_dialogs {
namespace {

QLabel* Line(const std::u16string& text, const char* name, QWidget* parent) {
  auto* label = new QLabel(Qs(DisplayText(text)), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignHCenter);
  label->setWordWrap(true);
  return label;
}

}  // namespace

AboutWindow::AboutWindow(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("aboutDialog"));
  setWindowTitle(Qs(kAboutTitle));
  const AboutLines lines = AboutText();
  auto* title = Line(lines.title, "title", this);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->setCenterButtons(true);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(Line(lines.version, "version", this));
  layout->addStretch(1);
  layout->addWidget(Line(lines.notice, "notice", this));
  layout->addWidget(Line(lines.web, "web", this));
  layout->addWidget(buttons);
}

}  // namespace scanner_dialogs
