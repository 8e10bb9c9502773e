// The main dialog's widgets, their places in dialog units, and closing.
#include "configapp/qt/SetdeskDialogView.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QTabBar>

#include "configapp/ControlIds.h"
#include "configapp/qt/ConduitPageView.h"
#include "configapp/qt/PathPageView.h"
#include "configapp/qt/QtText.h"
#include "configapp/qt/SetdeskPicture.h"
#include "configapp/qt/TabControl.h"
#include "configapp/qt/UpdatePageView.h"

namespace configapp {
namespace {

QRect ToQRect(const DialogRect& r) {
  return QRect(r.left, r.top, r.width(), r.height());
}

DialogRect ToDialogRect(const QRect& r) {
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

DialogBaseUnits DialogBaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(letters / 26 + 1) / 2, metrics.height()};
}

SetdeskDialogView::SetdeskDialogView(SetdeskDialog& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog), base_(DialogBaseUnitsOf(font())) {
  setObjectName(QStringLiteral("setdeskDialog"));
  picture_ = Named(new QLabel(this), "picture", kPictureBitmap);
  tabs_ = Named(new TabControl(this), "tabs", kIdTabs);
  ok_ = Named(new QPushButton(QStringLiteral("OK"), this), "ok", kIdOk);
  ok_->setDefault(true);
  cancel_ = Named(new QPushButton(this), "cancel", kIdCancel);

  dialog_.OnInitDialog();
  cancel_->setText(Qs(dialog_.CancelText()));
  setWindowTitle(Qs(dialog_.Caption()));
  for (SetdeskPage page : {SetdeskPage::Conduit, SetdeskPage::Urls, SetdeskPage::Paths})
    tabs_->bar()->addTab(Qs(dialog_.TabTitle(page)));
  // Created after the tab control, the pages lie above it.
  pages_[0] = new ConduitPageView(dialog_.conduit(), this);
  pages_[1] = new UpdatePageView(dialog_.urls(), this);
  pages_[2] = pathsView_ = new PathPageView(dialog_.paths(), this);
  for (QWidget* page : pages_) page->setAutoFillBackground(true);
  ShowPages();

  connect(tabs_->bar(), &QTabBar::currentChanged, this, [this](int index) {
    dialog_.OnSelChange(index);
    ShowPages();
  });
  connect(ok_, &QPushButton::clicked, this, [this] { Ok(); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  const DialogRect size = UnitsToPixels(kMainDialogUnits, base_);
  setMinimumSize(size.width(), size.height());
  resize(size.width(), size.height());
  Arrange();
}

void SetdeskDialogView::SelectTab(int index) {
  tabs_->bar()->setCurrentIndex(index);
}

void SetdeskDialogView::done(int result) {
  dialog_.OnDestroy();
  QDialog::done(result);
}

void SetdeskDialogView::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Arrange();
}

void SetdeskDialogView::Ok() {
  const uint32_t control = dialog_.OnOk();
  if (control == 0) {
    accept();
    return;
  }
  tabs_->bar()->setCurrentIndex(dialog_.selection());
  ShowPages();
  pathsView_->Focus(control);
}

void SetdeskDialogView::Arrange() {
  if (tabs_ == nullptr) return;
  const DialogRect nominal = UnitsToPixels(kMainDialogUnits, base_);
  const int extraWidth = std::max(0, width() - nominal.width());
  const int extraHeight = std::max(0, height() - nominal.height());
  QRect picture = ToQRect(UnitsToPixels(kPictureUnits, base_));
  picture.setHeight(picture.height() + extraHeight);
  picture_->setGeometry(picture);
  picture_->setPixmap(SetdeskPicture(picture.size()));
  QRect tabs = ToQRect(UnitsToPixels(kTabControlUnits, base_));
  tabs.setSize(tabs.size() + QSize(extraWidth, extraHeight));
  tabs_->setGeometry(tabs);
  ok_->setGeometry(ToQRect(UnitsToPixels(kOkUnits, base_)).translated(extraWidth, extraHeight));
  cancel_->setGeometry(
      ToQRect(UnitsToPixels(kCancelUnits, base_)).translated(extraWidth, extraHeight));
  PlacePages();
}

void SetdeskDialogView::PlacePages() {
  pageRect_ = PageRect(ToDialogRect(tabs_->geometry()), tabs_->RowCount(), tabs_->ItemHeight());
  for (QWidget* page : pages_) page->setGeometry(ToQRect(pageRect_));
}

void SetdeskDialogView::ShowPages() {
  for (size_t i = 0; i < kPageCount; ++i)
    pages_[i]->setVisible(dialog_.PageVisible(static_cast<SetdeskPage>(i)));
}

}  // namespace configapp
