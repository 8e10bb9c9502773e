// Building the host window around the object's pages and ending it.
#include "outside/settingshost/SettingsHostWindow.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "configobject/page/qt/WindowHandle.h"

namespace settingshost {

QIcon IconFromHandle(platform::com::HICON icon) {
  if (icon == nullptr) return {};
  const auto* resource = reinterpret_cast<const platform::com::IconResource*>(icon);
  QPixmap picture;
  if (!picture.loadFromData(resource->bytes, resource->size, resource->format)) return {};
  return QIcon(picture);
}

SettingsHostWindow::SettingsHostWindow(SettingsSession& session, QWidget* parent)
    : QDialog(parent), session_(session), tabs_(new QTabWidget(this)) {
  setObjectName(QStringLiteral("settings-host"));
  setWindowTitle(tr("Settings"));
  auto* column = new QVBoxLayout(this);
  auto* description = new QLabel(this);
  description->setObjectName(QStringLiteral("description"));
  column->addWidget(description);
  column->addWidget(tabs_, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  column->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  const int32_t count = session_.PageCount();
  for (int32_t i = 0; i < count; ++i) {
    const auto index = static_cast<uint32_t>(i);
    auto* container = new QWidget(tabs_);
    container->setObjectName(QStringLiteral("page-container-%1").arg(i));
    auto* fill = new QVBoxLayout(container);
    fill->setContentsMargins(4, 4, 4, 4);
    const platform::com::HWND page = session_.CreatePage(index, qrx::HandleFromWidget(container));
    if (page == nullptr) {
      delete container;
      continue;
    }
    // The page comes at its designed size; the tab keeps at least that room.
    QWidget* pageWidget = qrx::WidgetFromHandle(page);
    const QMargins margins = fill->contentsMargins();
    container->setMinimumSize(pageWidget->width() + margins.left() + margins.right(),
                              pageWidget->height() + margins.top() + margins.bottom());
    fill->addWidget(pageWidget);
    const QIcon icon = IconFromHandle(session_.Icon(index));
    tabs_->addTab(container, icon, QString::fromStdString(session_.Title(index)));
    if (i == 0) {
      description->setText(QString::fromStdString(session_.Description(index)));
      setWindowIcon(icon);
    }
  }
}

SettingsHostWindow::~SettingsHostWindow() {
  session_.Close();
}

int SettingsHostWindow::pageCount() const {
  return tabs_->count();
}

void SettingsHostWindow::accept() {
  session_.Collect();
  QDialog::accept();
}

void SettingsHostWindow::done(int result) {
  QDialog::done(result);
  session_.Close();
}

}  // namespace settingshost
