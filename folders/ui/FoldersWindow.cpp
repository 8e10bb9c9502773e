// The folder list window: menus, enabling, context menu, and the commands over the dialogs.
#include "folders/ui/FoldersWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "folders/dialogs/FolderDialogs.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/ui/FolderCommands.h"
#include "folders/ui/StateIcons.h"
#include "folders/volumes/Mount.h"
#include "platform/DevicePath.h"
#include "platform/Text.h"

namespace folders {
namespace {

QString Text(uint32_t id) {
  return QString::fromStdU16String(FoldersText(id));
}
QString Text(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int kLongPressMs = 600;

}  // namespace

FoldersWindow::FoldersWindow(platform::Prompt& prompt, CreationWorkers& workers, QWidget* parent)
    : QMainWindow(parent), prompt_(prompt), workers_(workers), frontEnd_(this, prompt) {
  setObjectName("foldersWindow");
  setWindowTitle(Text(kIdsCaption));

  list_ = new QTreeWidget(this);
  list_->setObjectName("folderList");
  list_->setColumnCount(3);
  list_->setHeaderLabels({Text(kIdsFile), Text(kIdsSizeKb), Text(kIdsAlgorithm)});
  // A report view keeps its column widths; the last one does not fill the rest.
  list_->header()->setStretchLastSection(false);
  list_->setColumnWidth(0, 120);
  list_->setColumnWidth(1, 60);
  list_->setColumnWidth(2, 60);
  list_->setRootIsDecorated(false);
  list_->setItemsExpandable(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setIconSize(QSize(16, 16));
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  setCentralWidget(list_);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &FoldersWindow::UpdateEnabling);
  connect(list_, &QTreeWidget::customContextMenuRequested, this, &FoldersWindow::ShowContextMenu);

  // Press and hold opens the context menu, as a stylus tap-and-hold does.
  holdTimer_ = new QTimer(this);
  holdTimer_->setSingleShot(true);
  holdTimer_->setInterval(kLongPressMs);
  connect(holdTimer_, &QTimer::timeout, this, [this] { ShowContextMenu(holdPoint_); });
  list_->viewport()->installEventFilter(this);

  busy_ = new QProgressBar(this);
  busy_->setObjectName("creationProgress");
  busy_->setRange(0, 0);
  busy_->setMaximumWidth(120);
  busy_->setVisible(false);
  statusBar()->addPermanentWidget(busy_);

  BuildMenus();
  resize(260, 320);
  Refresh();
}

FoldersWindow::~FoldersWindow() {
  WaitForCreations();
}

QAction* FoldersWindow::AddAction(QMenu* menu, const QString& text, const char* name,
                                  void (FoldersWindow::*slot)()) {
  QAction* action = menu->addAction(text);
  action->setObjectName(name);
  connect(action, &QAction::triggered, this, slot);
  return action;
}

void FoldersWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("File");
  AddAction(file, "New...", "actionNew", &FoldersWindow::NewFolder);
  AddAction(file, "Open...", "actionOpen", &FoldersWindow::OpenFile);
  delete_ = AddAction(file, "Delete", "actionDelete", &FoldersWindow::DeleteSelected);
  file->addSeparator();
  QAction* exit = file->addAction("Exit");
  exit->setObjectName("actionExit");
  connect(exit, &QAction::triggered, this, &QWidget::close);

  QMenu* volume = menuBar()->addMenu("Volume");
  mount_ = AddAction(volume, "Mount", "actionMount", &FoldersWindow::MountSelected);
  unmount_ = AddAction(volume, "Unmount", "actionUnmount", &FoldersWindow::UnmountSelected);
  properties_ =
      AddAction(volume, "Properties...", "actionProperties", &FoldersWindow::PropertiesSelected);
  changePassword_ = AddAction(volume, "Change password...", "actionChangePassword",
                              &FoldersWindow::ChangePasswordSelected);

  QMenu* help = menuBar()->addMenu("Help");
  AddAction(help, "About...", "actionAbout", &FoldersWindow::About);
  UpdateEnabling();
}

void FoldersWindow::Refresh() {
  ShowRows(RefreshVolumeList());
}

void FoldersWindow::ShowRows(std::vector<VolumeRow> rows) {
  const std::optional<VolumeRow> selected = SelectedRow();
  const QSignalBlocker block(list_);
  list_->clear();
  rows_ = std::move(rows);
  for (const VolumeRow& row : rows_) {
    auto* item = new QTreeWidgetItem(list_);
    item->setIcon(0, StateIcon(row.state));
    item->setText(0, Text(row.path));
    item->setText(1, QString::number(row.sizeKb));
    item->setText(2, Text(row.cipherName));
    item->setToolTip(0, Text(row.path));
  }
  if (selected) SelectPath(selected->path);
  UpdateEnabling();
}

bool FoldersWindow::SelectPath(std::u16string_view path) {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (platform::EqualsIgnoreCase(rows_[i].path, path)) {
      list_->setCurrentItem(list_->topLevelItem(static_cast<int>(i)));
      UpdateEnabling();
      return true;
    }
  }
  return false;
}

std::optional<VolumeRow> FoldersWindow::SelectedRow() const {
  const QList<QTreeWidgetItem*> items = list_->selectedItems();
  if (items.isEmpty()) return std::nullopt;
  const int index = list_->indexOfTopLevelItem(items.front());
  if (index < 0 || static_cast<size_t>(index) >= rows_.size()) return std::nullopt;
  return rows_[static_cast<size_t>(index)];
}

void FoldersWindow::UpdateEnabling() {
  const std::optional<VolumeRow> row = SelectedRow();
  const CommandEnabling e =
      MenuEnabling(row ? std::optional<VolumeState>(row->state) : std::nullopt);
  delete_->setEnabled(e.remove);
  mount_->setEnabled(e.mount);
  unmount_->setEnabled(e.unmount);
  properties_->setEnabled(e.properties);
  changePassword_->setEnabled(e.changePassword);
}

void FoldersWindow::UpdateBusy() {
  busy_->setVisible(workers_.Running() > 0);
}

std::unique_ptr<QMenu> FoldersWindow::BuildContextMenu(const QPoint& viewportPoint) {
  auto menu = std::make_unique<QMenu>();
  menu->setObjectName("folderContextMenu");
  auto add = [&](uint32_t id, const char* name, void (FoldersWindow::*slot)(), bool enabled) {
    QAction* action = menu->addAction(Text(id));
    action->setObjectName(name);
    action->setEnabled(enabled);
    // Queued: the command may open a modal dialog after the menu has closed.
    connect(action, &QAction::triggered, this, slot, Qt::QueuedConnection);
  };
  QTreeWidgetItem* item = list_->itemAt(viewportPoint);
  if (!item) {
    add(kIdsMenuNew, "contextNew", &FoldersWindow::NewFolder, true);
    add(kIdsMenuOpen, "contextOpen", &FoldersWindow::OpenFile, true);
    return menu;
  }
  list_->setCurrentItem(item);
  const std::optional<VolumeRow> row = SelectedRow();
  const CommandEnabling e = RowContextEnabling(row ? row->state : VolumeState::Missing);
  add(kIdsMenuMount, "contextMount", &FoldersWindow::MountSelected, e.mount);
  add(kIdsMenuUnmount, "contextUnmount", &FoldersWindow::UnmountSelected, e.unmount);
  menu->addSeparator();
  add(kIdsMenuProperties, "contextProperties", &FoldersWindow::PropertiesSelected, e.properties);
  add(kIdsMenuChangePassword, "contextChangePassword", &FoldersWindow::ChangePasswordSelected,
      e.changePassword);
  menu->addSeparator();
  add(kIdsMenuDelete, "contextDelete", &FoldersWindow::DeleteSelected, e.remove);
  return menu;
}

void FoldersWindow::ShowContextMenu(const QPoint& viewportPoint) {
  std::unique_ptr<QMenu> menu = BuildContextMenu(viewportPoint);
  menu->exec(list_->viewport()->mapToGlobal(viewportPoint));
}

bool FoldersWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_->viewport()) {
    switch (event->type()) {
      case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
          holdPoint_ = mouse->position().toPoint();
          holdTimer_->start();
        }
        break;
      }
      case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if ((mouse->position().toPoint() - holdPoint_).manhattanLength() >
            QApplication::startDragDistance())
          holdTimer_->stop();
        break;
      }
      case QEvent::MouseButtonRelease:
        holdTimer_->stop();
        break;
      default:
        break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void FoldersWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) Refresh();
  QMainWindow::changeEvent(event);
}

void FoldersWindow::closeEvent(QCloseEvent* event) {
  WaitForCreations();
  event->accept();
}

void FoldersWindow::WaitForCreations() {
  // The workers' messages and refreshes still run (a message box turns its
  // own loop), but no new command starts while the window is going away.
  while (workers_.Running() > 0) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 50);
    QThread::msleep(10);
  }
  workers_.JoinAll();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  UpdateBusy();
}

void FoldersWindow::NewFolder() {
  NewFolderRequest request;
  if (!RunNewFolderSheet(this, prompt_, u"New folder", u"", request)) return;
  // The worker owns its copy of the request (path, size, password).
  workers_.Start(std::move(request), prompt_, [this](int) {
    QMetaObject::invokeMethod(
        this,
        [this] {
          Refresh();
          UpdateBusy();
        },
        Qt::QueuedConnection);
  });
  UpdateBusy();
  Refresh();
}

void FoldersWindow::OpenFile() {
  const QString start =
      QString::fromStdString(platform::ResolveDevicePath(std::string_view("\\")).host);
  const QString chosen = QFileDialog::getOpenFileName(
      this, Text(kIdsMenuOpen), start, "Quillmark Security files (*.zsf);;All Files (*.*)");
  if (chosen.isEmpty()) return;
  OpenHost(chosen.toStdString());
}

void FoldersWindow::OpenHost(const std::string& hostPath) {
  OpenHostFile(hostPath, frontEnd_, prompt_, [this] { Refresh(); });
}

void FoldersWindow::DeleteSelected() {
  const std::optional<VolumeRow> row = SelectedRow();
  if (!row || !MenuEnabling(row->state).remove) return;
  if (DeleteFolder(*row, prompt_) != DeleteResult::Deleted) return;
  list_->clearSelection();
  Refresh();
}

void FoldersWindow::MountSelected() {
  std::optional<VolumeRow> row = SelectedRow();
  if (!row || !RowContextEnabling(row->state).mount) return;
  RunMountDialog(this, prompt_, row->record);
  Refresh();
}

void FoldersWindow::UnmountSelected() {
  const std::optional<VolumeRow> row = SelectedRow();
  if (!row || row->state != VolumeState::Mounted) return;
  UnmountVolume(row->path);
  Refresh();
}

void FoldersWindow::PropertiesSelected() {
  std::optional<VolumeRow> row = SelectedRow();
  if (!row) return;
  RunPropertiesDialog(this, prompt_, row->record);
  Refresh();
}

void FoldersWindow::ChangePasswordSelected() {
  const std::optional<VolumeRow> row = SelectedRow();
  // Re-keying under a mounted folder would mix sectors of two keys.
  if (!row || row->state == VolumeState::Mounted) return;
  RunChangePasswordDialog(this, prompt_, row->record);
  Refresh();
}

void FoldersWindow::About() {
  QDialog about(this);
  about.setObjectName("aboutDialog");
  about.setWindowTitle(Text(kIdsAboutCaption));
  auto* layout = new QVBoxLayout(&about);
  auto* product = new QLabel(Text(kIdsCaption), &about);
  product->setObjectName("product");
  auto* version = new QLabel(Text(kIdsVersion) + " " + kFoldersVersion, &about);
  version->setObjectName("version");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &about);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
  connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
  layout->addWidget(product);
  layout->addWidget(version);
  layout->addWidget(buttons);
  about.exec();
}

}  // namespace folders
