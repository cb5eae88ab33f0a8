#include "platform/qt/ui/focus_tracker.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

#include "platform/qt/ui/input_reporter.h"

namespace sr::qt {

namespace {

bool IsClosedMenu(const QWidget* window) {
  return window != nullptr && window->windowType() == Qt::Popup && !window->isVisible();
}

}  // namespace

FocusTracker& FocusTracker::Instance() {
  static FocusTracker* const tracker = new FocusTracker;  // lives as long as the program
  return *tracker;
}

FocusTracker::FocusTracker() { QCoreApplication::instance()->installEventFilter(this); }

void FocusTracker::Add(QWidget* root, InputReporter* reporter) { roots_.insert(root, reporter); }

void FocusTracker::Remove(QWidget* root) {
  if (current_ == roots_.value(root)) current_ = nullptr;
  roots_.remove(root);
}

// The innermost control whose widget holds `widget` (an edit box inside a shape box belongs to
// the edit box).
InputReporter* FocusTracker::OwnerOf(QWidget* widget) const {
  for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    if (InputReporter* reporter = roots_.value(w)) return reporter;
    if (w->isWindow()) break;
  }
  return nullptr;
}

void FocusTracker::MoveTo(InputReporter* owner) {
  if (owner == current_) return;
  InputReporter* old = current_;
  current_ = owner;
  if (old != nullptr) old->ReportFocus(ui::Input::kLostFocus);
  if (owner != nullptr) owner->ReportFocus(ui::Input::kGotFocus);
}

bool FocusTracker::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((type != QEvent::FocusIn && type != QEvent::FocusOut) || !watched->isWidgetType())
    return false;
  const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
  if (type == QEvent::FocusOut) {
    if (reason == Qt::ActiveWindowFocusReason && IsClosedMenu(QApplication::activeWindow())) {
      // Some platforms (offscreen) activate a menu as it shows and deliver that once it has
      // closed: the window below keeps the keyboard.
      static_cast<QWidget*>(watched)->window()->activateWindow();
      return false;
    }
    // A menu takes the keyboard without becoming the focus widget.
    const bool menu = reason == Qt::PopupFocusReason;
    if (menu || OwnerOf(QApplication::focusWidget()) != current_) MoveTo(nullptr);
  } else if (reason == Qt::PopupFocusReason || QApplication::activePopupWidget() == nullptr) {
    // Qt's focus widget, not the widget told: a dialog being shown is told before it has the
    // focus. While a menu is open, a focus change under it (a grid taking the focus back from
    // its closing editor) waits for the menu to close.
    MoveTo(OwnerOf(QApplication::focusWidget()));
  }
  return false;
}

}  // namespace sr::qt
