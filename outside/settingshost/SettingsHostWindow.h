// The settings host's window: the object's pages in tabs, with OK and Cancel.
#pragma once

#include <QDialog>
#include <QTabWidget>

#include "outside/settingshost/SettingsSession.h"

namespace settingshost {

// SettingsHostWindow: one tab per page the object makes, titled and iconed
// as the object says, its description above them. OK collects the pages
// into the registry; the window's end (OK or Cancel) deletes the pages and
// releases the object through the session.
class SettingsHostWindow final : public QDialog {
 public:
  explicit SettingsHostWindow(SettingsSession& session, QWidget* parent = nullptr);
  ~SettingsHostWindow() override;

  // pageCount: the pages that were created.
  int pageCount() const;

  void accept() override;
  void done(int result) override;

 private:
  SettingsSession& session_;
  QTabWidget* tabs_;
};

// IconFromHandle: the picture of an icon handle an object handed out; null
// for no icon.
QIcon IconFromHandle(platform::com::HICON icon);

}  // namespace settingshost
