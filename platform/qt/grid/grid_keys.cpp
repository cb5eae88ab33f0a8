#include "platform/qt/grid/grid_keys.h"

#include "platform/ui/keys.h"

namespace sr::qt {

int GridVirtualKey(int qt_key) {
  // Qt's codes for letters and digits are their upper-case ASCII codes, as are the virtual keys.
  if ((qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) || (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9))
    return qt_key;
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) return ui::kVkF1 + (qt_key - Qt::Key_F1);
  switch (qt_key) {
    case Qt::Key_Backspace: return ui::kVkBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return ui::kVkTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return ui::kVkReturn;
    case Qt::Key_Escape: return ui::kVkEscape;
    case Qt::Key_Space: return ui::kVkSpace;
    case Qt::Key_PageUp: return ui::kVkPageUp;
    case Qt::Key_PageDown: return ui::kVkPageDown;
    case Qt::Key_End: return ui::kVkEnd;
    case Qt::Key_Home: return ui::kVkHome;
    case Qt::Key_Left: return ui::kVkLeft;
    case Qt::Key_Up: return ui::kVkUp;
    case Qt::Key_Right: return ui::kVkRight;
    case Qt::Key_Down: return ui::kVkDown;
    case Qt::Key_Insert: return ui::kVkInsert;
    case Qt::Key_Delete: return ui::kVkDelete;
    default: return 0;
  }
}

int GridModifiers(Qt::KeyboardModifiers modifiers) {
  int bits = 0;
  if (modifiers & Qt::ControlModifier) bits |= ui::kCtrl;
  if (modifiers & Qt::ShiftModifier) bits |= ui::kShift;
  if (modifiers & Qt::AltModifier) bits |= ui::kAlt;
  return bits;
}

}  // namespace sr::qt
