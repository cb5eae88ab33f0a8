#include "platform/qt/ui/input_reporter.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>
#include <QWheelEvent>
#include <QWidget>

#include "platform/qt/ui/qt_keys.h"
#include "platform/qt/ui/qt_text.h"

namespace sr::qt {

void DisposeLater(QObject* object) {
  if (object == nullptr) return;
  if (QThread::currentThread()->loopLevel() > 0) {
    object->deleteLater();
  } else {
    delete object;
  }
}

void InputReporter::Watch(QWidget* widget) { widget->installEventFilter(this); }

bool InputReporter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      ReportMouse(event);
      break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      ReportKey(event);
      break;
    case QEvent::InputMethod:  // characters composed by an input method
      for (QChar c : static_cast<QInputMethodEvent*>(event)->commitString()) {
        if (int code = GbkCharacterCode(QString(c)); code != 0) Report(ui::Input::kCharacter, code);
      }
      break;
    case QEvent::Wheel: {
      auto* wheel = static_cast<QWheelEvent*>(event);
      Report(ui::Input::kWheel, wheel->angleDelta().y() / 120,
             ModifiersFromQt(wheel->modifiers()));
      break;
    }
    default:
      break;
  }
  return false;
}

void InputReporter::ReportMouse(QEvent* event) {
  auto* mouse = static_cast<QMouseEvent*>(event);
  const int x = static_cast<int>(mouse->position().x());
  const int y = static_cast<int>(mouse->position().y());
  const int modifiers = ModifiersFromQt(mouse->modifiers());
  const bool right = mouse->button() == Qt::RightButton;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (mouse->button() == Qt::LeftButton || right)
        Report(right ? ui::Input::kRightButtonDown : ui::Input::kLeftButtonDown, x, y, modifiers);
      break;
    case QEvent::MouseButtonRelease:
      if (mouse->button() == Qt::LeftButton || right)
        Report(right ? ui::Input::kRightButtonUp : ui::Input::kLeftButtonUp, x, y, modifiers);
      break;
    case QEvent::MouseButtonDblClick:
      if (mouse->button() == Qt::LeftButton) Report(ui::Input::kDoubleClick, x, y, modifiers);
      break;
    default:
      Report(ui::Input::kMouseMoved, x, y, modifiers);
      break;
  }
}

void InputReporter::ReportKey(QEvent* event) {
  auto* key = static_cast<QKeyEvent*>(event);
  const int modifiers = ModifiersFromQt(key->modifiers());
  const int code = VirtualKeyFromQt(key->key());
  if (event->type() == QEvent::KeyRelease) {
    if (code != 0) Report(ui::Input::kKeyUp, code, modifiers);
    return;
  }
  if (code != 0) Report(ui::Input::kKeyDown, code, modifiers);
  // A character follows the key unless Ctrl or Alt made the key a command.
  const QString text = key->text();
  if (text.size() == 1 && text[0].isPrint() && !(modifiers & (ui::kCtrl | ui::kAlt))) {
    if (int character = GbkCharacterCode(text); character != 0)
      Report(ui::Input::kCharacter, character);
  }
}

}  // namespace sr::qt
