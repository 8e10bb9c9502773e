// The editors the tree control puts into its rows: values in their captions, and text lists.
#pragma once

#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace treecontrol {

// CaptionParts: a caption cut at its "<>" placeholder; without one the value
// follows the whole caption.
struct CaptionParts {
  QString before;
  QString after;
};
CaptionParts SplitCaption(const QString& caption);

enum class Fill : bool { No, Yes };

// ValueLine: a caption with an editor standing where its placeholder is; with
// Fill::Yes the editor takes the spare width. The line owns the editor.
class ValueLine final : public QWidget {
 public:
  ValueLine(const QString& caption, QWidget* editor, Fill fill, QWidget* parent = nullptr);
};

// TextListEditor: an editable list of texts with Add and Remove buttons.
// `changed` receives the texts, blank ones left out, after every edit.
class TextListEditor final : public QWidget {
 public:
  using Changed = std::function<void(const QStringList& texts)>;
  TextListEditor(const QStringList& texts, Changed changed, QWidget* parent = nullptr);

  // Texts: the rows that are not blank, in order.
  QStringList Texts() const;

 private:
  void Report();

  QListWidget* list_;
  Changed changed_;
};

}  // namespace treecontrol
