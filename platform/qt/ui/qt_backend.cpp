#include "platform/qt/ui/qt_backend.h"

#include <QApplication>
#include <QEventLoop>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/ui/form_font.h"
#include "platform/qt/ui/form_style.h"
#include "platform/qt/ui/form_window.h"
#include "platform/qt/ui/icons/painted_icons.h"
#include "platform/qt/ui/idle_hooks.h"
#include "platform/qt/ui/input_blocker.h"

namespace sr::qt {
namespace {

WindowPeerImpl& Impl(ui::WindowPeer& window) { return static_cast<WindowPeerImpl&>(window); }

// Qt's own texts (Yes and No, the file dialogs, an edit box's context menu) in the program's
// language. Without the translations installed they stay English.
void LoadChineseTexts(QApplication* app) {
  auto* translator = new QTranslator(app);
  if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                       QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  } else {
    delete translator;
  }
}

}  // namespace

QtBackend::QtBackend(int& argc, char** argv) {
  if (QApplication::instance() == nullptr) app_ = std::make_unique<QApplication>(argc, argv);
  auto* app = static_cast<QApplication*>(QApplication::instance());
  app->setQuitOnLastWindowClosed(false);  // the models decide when the program ends
  app->setWindowIcon(ProgramIcon());
  if (dynamic_cast<FormStyle*>(QApplication::style()) == nullptr)
    QApplication::setStyle(new FormStyle(QApplication::style()->name()));
  // Every label, caption and cell in the face and size the forms were drawn for.
  QApplication::setFont(FormFont());
  LoadChineseTexts(app);
  blocker_ = new InputBlocker([this]() -> QWidget* {
    for (auto it = modal_stack_.rbegin(); it != modal_stack_.rend(); ++it)
      if (*it) return it->data();
    return nullptr;
  });
  app->installEventFilter(blocker_);
}

QtBackend::~QtBackend() {
  QApplication::instance()->removeEventFilter(blocker_);
  delete blocker_;
  DeleteDisposedWidgets();
}

std::unique_ptr<ui::WindowPeer> QtBackend::CreateWindow(const ui::WindowSpec& description,
                                                        ui::WindowEvents* events) {
  // A secondary window belongs to the newest window on screen, so that it stays above it.
  QWidget* owner = nullptr;
  for (auto it = windows_.rbegin(); it != windows_.rend() && owner == nullptr; ++it)
    if (*it && (*it)->isVisible()) owner = it->data();
  auto peer = std::make_unique<WindowPeerImpl>(description, events, owner);
  std::erase_if(windows_, [](const QPointer<FormWindow>& w) { return w.isNull(); });
  windows_.push_back(peer->window());
  return peer;
}

void QtBackend::RunModalLoop(ui::WindowPeer& window) {
  WindowPeerImpl& peer = Impl(window);
  if (peer.modal_ended() || quit_requested_) return;
  QEventLoop loop;
  peer.set_modal_loop(&loop);
  modal_stack_.push_back(peer.window());
  loop.exec(QEventLoop::DialogExec);
  // The window (and its peer) may be gone by now: touch neither.
  modal_stack_.pop_back();
  DeleteDisposedWidgets();
  GiveBackTheKeyboard();
}

// A window manager activates the window below one that closes; without one (offscreen, a bare X
// server) nothing would have the keyboard until the user clicked a window.
void QtBackend::GiveBackTheKeyboard() {
  QWidget* active = QApplication::activeWindow();
  if (active != nullptr && active->isVisible()) return;
  const std::vector<FormWindow*> shown = Windows();
  if (!shown.empty()) shown.back()->activateWindow();
}

void QtBackend::EndModalLoop(ui::WindowPeer& window) { Impl(window).EndModal(); }

int QtBackend::RunMainLoop() {
  InstallIdleHooks([this](int exit_code) { Quit(exit_code); });
  if (!quit_requested_) QApplication::exec();
  quit_requested_ = false;  // a later loop (in tests) runs until its own Quit
  DeleteDisposedWidgets();
  return exit_code_;
}

void QtBackend::Quit(int exit_code) {
  quit_requested_ = true;
  exit_code_ = exit_code;
  QCoreApplication::exit(exit_code);  // ends every running loop, modal ones included
}

void QtBackend::Terminate(int exit_code) {
  std::fflush(nullptr);
  std::exit(exit_code);
}

void QtBackend::ProcessPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

// A window closed inside a loop leaves its widgets to that loop's end (a handler of one of them
// may still be running). They go as soon as the loop has returned: the models they show (a grid
// view holds its grid) are destroyed once the call that opened the window returns.
void QtBackend::DeleteDisposedWidgets() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::vector<FormWindow*> QtBackend::Windows() const {
  std::vector<FormWindow*> shown;
  for (const auto& window : windows_)
    if (window && window->isVisible()) shown.push_back(window.data());
  return shown;
}

QWidget* QtBackend::OwnerWidget(ui::WindowPeer* owner) const {
  if (owner != nullptr && Impl(*owner).window()) return Impl(*owner).window();
  if (QWidget* active = QApplication::activeWindow()) return active;
  const std::vector<FormWindow*> shown = Windows();
  return shown.empty() ? nullptr : shown.back();
}

}  // namespace sr::qt
