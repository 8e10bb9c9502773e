// Caption lines and the text-list editor of the tree control.
#include "outside/treecontrol/TreeEditors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace treecontrol {

CaptionParts SplitCaption(const QString& caption) {
  const qsizetype at = caption.indexOf(QStringLiteral("<>"));
  if (at < 0) return {caption.isEmpty() ? caption : caption + QLatin1Char(' '), {}};
  return {caption.left(at), caption.mid(at + 2)};
}

ValueLine::ValueLine(const QString& caption, QWidget* editor, Fill fill, QWidget* parent)
    : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  const CaptionParts parts = SplitCaption(caption);
  if (!parts.before.isEmpty()) row->addWidget(new QLabel(parts.before, this));
  row->addWidget(editor, fill == Fill::Yes ? 1 : 0);
  if (!parts.after.isEmpty()) row->addWidget(new QLabel(parts.after, this));
  if (fill == Fill::No) row->addStretch(1);
}

TextListEditor::TextListEditor(const QStringList& texts, Changed changed, QWidget* parent)
    : QWidget(parent), list_(new QListWidget(this)), changed_(std::move(changed)) {
  list_->setObjectName(QStringLiteral("list"));
  for (const QString& text : texts) {
    auto* item = new QListWidgetItem(text, list_);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
  }
  auto* add = new QPushButton(tr("Add"), this);
  add->setObjectName(QStringLiteral("add"));
  auto* remove = new QPushButton(tr("Remove"), this);
  remove->setObjectName(QStringLiteral("remove"));
  auto* buttons = new QVBoxLayout();
  buttons->addWidget(add);
  buttons->addWidget(remove);
  buttons->addStretch(1);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(list_, 1);
  row->addLayout(buttons);
  list_->setMaximumHeight(list_->sizeHintForRow(0) > 0 ? list_->sizeHintForRow(0) * 5 + 4 : 96);

  connect(add, &QPushButton::clicked, this, [this] {
    auto* item = new QListWidgetItem(QString(), list_);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    list_->setCurrentItem(item);
    list_->editItem(item);
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    const int row = list_->currentRow();
    if (row < 0) return;
    delete list_->takeItem(row);
    Report();
  });
  connect(list_, &QListWidget::itemChanged, this, [this] { Report(); });
}

QStringList TextListEditor::Texts() const {
  QStringList texts;
  for (int i = 0; i < list_->count(); ++i) {
    const QString text = list_->item(i)->text().trimmed();
    if (!text.isEmpty()) texts << text;
  }
  return texts;
}

void TextListEditor::Report() {
  if (changed_) changed_(Texts());
}

}  // namespace treecontrol
