#ifndef SALARY_PLATFORM_QT_UI_QT_BACKEND_H_
#define SALARY_PLATFORM_QT_UI_QT_BACKEND_H_

#include <QPointer>
#include <memory>
#include <vector>

#include "platform/qt/ui/qt_clipboard.h"
#include "platform/ui/backend.h"

class QApplication;
class QWidget;

namespace sr::qt {

class FormWindow;
class InputBlocker;

// The user-interface backend on Qt 6 Widgets. It creates the application object (unless one
// exists already), with the program's icon and Qt's own texts (dialog buttons, file dialogs) in
// Simplified Chinese when Qt's translations are installed.
class QtBackend : public ui::Backend {
 public:
  // `argc` and `argv` as main received them; Qt takes its own options (-platform, -style, ...).
  QtBackend(int& argc, char** argv);
  ~QtBackend() override;

  std::unique_ptr<ui::WindowPeer> CreateWindow(const ui::WindowSpec& description,
                                               ui::WindowEvents* events) override;
  void RunModalLoop(ui::WindowPeer& window) override;
  void EndModalLoop(ui::WindowPeer& window) override;
  int RunMainLoop() override;
  void Quit(int exit_code) override;
  [[noreturn]] void Terminate(int exit_code) override;
  ui::MessageAnswer ShowMessageBox(const ui::MessageBoxSpec& description,
                                   ui::WindowPeer* owner) override;
  ui::FileDialogResult RunFileDialog(const ui::FileDialogSpec& description,
                                     ui::WindowPeer* owner) override;
  int PopupMenu(ui::WindowPeer& window, int entry, int dx, int dy) override;
  Clipboard& clipboard() override { return clipboard_; }
  void ProcessPendingEvents() override;

  // The windows that are shown, oldest first (for tests and the screenshot hook).
  std::vector<FormWindow*> Windows() const;

 private:
  QWidget* OwnerWidget(ui::WindowPeer* owner) const;
  void GiveBackTheKeyboard();
  void DeleteDisposedWidgets();

  std::unique_ptr<QApplication> app_;  // null when the application object existed before
  InputBlocker* blocker_;
  QtClipboard clipboard_;
  std::vector<QPointer<FormWindow>> windows_;
  std::vector<QPointer<FormWindow>> modal_stack_;
  bool quit_requested_ = false;
  int exit_code_ = 0;
};

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_QT_BACKEND_H_
