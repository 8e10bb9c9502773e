// The folder program's main window: the folder list, its menus and its commands.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "folders/ui/CommandEnabling.h"
#include "folders/ui/CreationWorkers.h"
#include "folders/ui/QtFrontEnd.h"
#include "folders/volumes/VolumeRefresh.h"
#include "platform/Prompt.h"

class QAction;
class QMenu;
class QProgressBar;
class QTimer;
class QTreeWidget;

namespace folders {

// kFoldersVersion: the version the About box shows after "version".
inline constexpr char kFoldersVersion[] = "1.0.0";

// FoldersWindow: "foldersWindow". The prompt and the creation workers are
// borrowed and must outlive the window; closing it waits for running
// creations (showing their messages meanwhile).
class FoldersWindow : public QMainWindow {
  Q_OBJECT

 public:
  FoldersWindow(platform::Prompt& prompt, CreationWorkers& workers, QWidget* parent = nullptr);
  ~FoldersWindow() override;

  // Refresh: reconciles the list with the folder devices and shows it,
  // keeping the selection on the same path when it is still listed.
  void Refresh();

  // ShowRows: shows these rows as the list (Refresh's second half).
  void ShowRows(std::vector<VolumeRow> rows);

  // SelectPath: selects the row of that path; false when it is not listed.
  bool SelectPath(std::u16string_view path);

  // SelectedRow: the selected row, nullopt when none.
  std::optional<VolumeRow> SelectedRow() const;

  // BuildContextMenu: the context menu for a point of the list's viewport:
  // "New" and "Open" on empty space; on a row (which it selects) the row's
  // commands with their enabling. The caller owns and shows it.
  std::unique_ptr<QMenu> BuildContextMenu(const QPoint& viewportPoint);

  // NewFolder: the sheet "New folder"; when confirmed, a creation worker
  // with its own copy of the request, then a refresh. The worker's end
  // refreshes again and clears the busy indicator.
  void NewFolder();
  // OpenFile: the file dialog in the device root's host folder, then OpenHost.
  void OpenFile();
  // OpenHost: "Open..." once a host file was chosen (see OpenHostFile).
  void OpenHost(const std::string& hostPath);
  // DeleteSelected: "Delete" of the selected row when the table allows it.
  void DeleteSelected();
  // MountSelected / UnmountSelected: the mount dialog or the device's
  // release for the selected row, then a refresh.
  void MountSelected();
  void UnmountSelected();
  // PropertiesSelected / ChangePasswordSelected: the dialogs for the
  // selected row (a mounted folder is never re-keyed), then a refresh.
  void PropertiesSelected();
  void ChangePasswordSelected();
  // About: the modal "About Quillmark Coffer" box with the version.
  void About();

  // WaitForCreations: lets running creations finish, the event loop still
  // turning so their messages and refreshes are shown, then joins them.
  void WaitForCreations();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void UpdateEnabling();
  void UpdateBusy();
  void ShowContextMenu(const QPoint& viewportPoint);
  QAction* AddAction(QMenu* menu, const QString& text, const char* name,
                     void (FoldersWindow::*slot)());

  platform::Prompt& prompt_;
  CreationWorkers& workers_;
  QtFrontEnd frontEnd_;
  QTreeWidget* list_ = nullptr;
  QProgressBar* busy_ = nullptr;
  QTimer* holdTimer_ = nullptr;
  QPoint holdPoint_;
  std::vector<VolumeRow> rows_;
  QAction* delete_ = nullptr;
  QAction* mount_ = nullptr;
  QAction* unmount_ = nullptr;
  QAction* properties_ = nullptr;
  QAction* changePassword_ = nullptr;
};

}  // namespace folders
