#include "platform/qt/ui/input_blocker.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include "platform/qt/ui/form_window.h"

namespace sr::qt {
namespace {

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
  if (!IsInput(event->type()) || !watched->isWidgetType()) return false;
  auto* form = qobject_cast<FormWindow*>(static_cast<QWidget*>(watched)->window());
  if (form == nullptr || !form->blocked()) return false;
  // Accepting the shortcut override keeps the blocked window's menu shortcuts from firing.
  event->accept();
  if (event->type() == QEvent::MouseButtonPress) {
    QApplication::beep();
    if (QWidget* modal = top_modal_()) {
      modal->raise();
      modal->activateWindow();
    }
  }
  return true;
}

}  // namespace sr::qt
