#include "platform/qt/ui/qt_keys.h"

#include <utility>

namespace sr::qt {
namespace {

// Keys whose codes are neither letters, digits nor function keys.
constexpr std::pair<int, int> kNamedKeys[] = {
    {Qt::Key_Backspace, ui::kVkBack},  {Qt::Key_Tab, ui::kVkTab},
    {Qt::Key_Backtab, ui::kVkTab},     {Qt::Key_Return, ui::kVkReturn},
    {Qt::Key_Enter, ui::kVkReturn},    {Qt::Key_Shift, ui::kVkShift},
    {Qt::Key_Control, ui::kVkControl}, {Qt::Key_Alt, ui::kVkMenu},
    {Qt::Key_Escape, ui::kVkEscape},   {Qt::Key_Space, ui::kVkSpace},
    {Qt::Key_PageUp, ui::kVkPageUp},   {Qt::Key_PageDown, ui::kVkPageDown},
    {Qt::Key_End, ui::kVkEnd},         {Qt::Key_Home, ui::kVkHome},
    {Qt::Key_Left, ui::kVkLeft},       {Qt::Key_Up, ui::kVkUp},
    {Qt::Key_Right, ui::kVkRight},     {Qt::Key_Down, ui::kVkDown},
    {Qt::Key_Insert, ui::kVkInsert},   {Qt::Key_Delete, ui::kVkDelete},
};

}  // namespace

int VirtualKeyFromQt(int qt_key) {
  if ((qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) || (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9))
    return qt_key;  // Qt's codes for these are their upper-case ASCII codes, as are ours
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) return ui::kVkF1 + (qt_key - Qt::Key_F1);
  for (const auto& [qt, vk] : kNamedKeys)
    if (qt == qt_key) return vk;
  return 0;
}

int ModifiersFromQt(Qt::KeyboardModifiers modifiers) {
  int bits = ui::kNoModifier;
  if (modifiers & Qt::ControlModifier) bits |= ui::kCtrl;
  if (modifiers & Qt::ShiftModifier) bits |= ui::kShift;
  if (modifiers & Qt::AltModifier) bits |= ui::kAlt;
  return bits;
}

QKeySequence ToKeySequence(const ui::KeyChord& chord) {
  if (chord.empty()) return {};
  int key = 0;
  if ((chord.key >= 'A' && chord.key <= 'Z') || (chord.key >= '0' && chord.key <= '9')) {
    key = chord.key;
  } else if (chord.key >= ui::kVkF1 && chord.key < ui::kVkF1 + 24) {
    key = Qt::Key_F1 + (chord.key - ui::kVkF1);
  } else {
    for (const auto& [qt, vk] : kNamedKeys) {
      if (vk == chord.key) {
        key = qt;
        break;
      }
    }
  }
  if (key == 0) return {};
  Qt::KeyboardModifiers modifiers;
  if (chord.modifiers & ui::kCtrl) modifiers |= Qt::ControlModifier;
  if (chord.modifiers & ui::kShift) modifiers |= Qt::ShiftModifier;
  if (chord.modifiers & ui::kAlt) modifiers |= Qt::AltModifier;
  return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}

}  // namespace sr::qt
