// The Paths page's widgets.
#include "configapp/qt/PathPageView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "configapp/ControlIds.h"
#include "configapp/qt/HintWatcher.h"
#include "configapp/qt/PageParts.h"
#include "configapp/qt/QtText.h"

namespace configapp {

PathPageView::PathPageView(CPathPage& page, QWidget* parent) : QWidget(parent), page_(page) {
  setObjectName(QStringLiteral("pathsPage"));
  auto* group =
      Named(new QGroupBox(Qs(page_.Text(kIdPathsGroup)), this), "pathsGroup", kIdPathsGroup);
  desktopPath_ = Named(new QLineEdit(group), "desktopPath", kIdDesktopPath);
  zeppDir_ = Named(new QLineEdit(group), "zeppDir", kIdZeppDir);
  // The template's "Browse" buttons are created hidden and do nothing.
  auto* browseDesktop =
      Named(new QPushButton(QStringLiteral("Browse"), group), "browseDesktop", kIdBrowseDesktop);
  auto* browseZepp =
      Named(new QPushButton(QStringLiteral("Browse"), group), "browseZepp", kIdBrowseZepp);
  browseDesktop->hide();
  browseZepp->hide();
  hint_ = MakeHintLine(this);

  auto* grid = new QGridLayout(group);
  grid->addWidget(PageLabel(page_.Text(kIdDesktopLabel), "desktopLabel", kIdDesktopLabel, group), 0,
                  0);
  grid->addWidget(desktopPath_, 1, 0);
  grid->addWidget(browseDesktop, 1, 1);
  grid->addWidget(PageLabel(page_.Text(kIdZeppLabel), "zeppLabel", kIdZeppLabel, group), 2, 0);
  grid->addWidget(zeppDir_, 3, 0);
  grid->addWidget(browseZepp, 3, 1);
  grid->setRowStretch(4, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group, 1);
  layout->addWidget(hint_);

  auto* watcher = new HintWatcher(this, [this](uint32_t control) {
    if (page_.OnSetCursor(control)) Render();
  });
  watcher->Watch(zeppDir_, kIdZeppDir);
  watcher->Watch(desktopPath_, kIdDesktopPath);
  connect(desktopPath_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!rendering_) page_.SetDesktopPath(U8(text));
  });
  connect(zeppDir_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!rendering_) page_.SetZeppDir(U8(text));
  });
  Render();
}

void PathPageView::Render() {
  rendering_ = true;
  const PathControls& c = page_.controls();
  if (desktopPath_->text() != Qs(c.desktopPath)) desktopPath_->setText(Qs(c.desktopPath));
  if (zeppDir_->text() != Qs(c.zeppDir)) zeppDir_->setText(Qs(c.zeppDir));
  hint_->setText(Qs(page_.hint()));
  rendering_ = false;
}

void PathPageView::Focus(uint32_t control) {
  QLineEdit* edit = control == kIdDesktopPath ? desktopPath_ : zeppDir_;
  edit->setFocus();
  edit->selectAll();
}

}  // namespace configapp
