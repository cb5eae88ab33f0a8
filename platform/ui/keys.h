#ifndef SALARY_PLATFORM_UI_KEYS_H_
#define SALARY_PLATFORM_UI_KEYS_H_

namespace sr::ui {

// Modifier key bits carried by mouse, key and wheel events.
enum Modifier : int {
  kNoModifier = 0,
  kCtrl = 1,
  kShift = 2,
  kAlt = 4,
};

// Virtual-key codes: key events carry these, whatever the native toolkit calls the key.
// Letters and digits are their upper-case ASCII codes ('A' = 0x41, '0' = 0x30).
enum VirtualKey : int {
  kVkBack = 0x08,
  kVkTab = 0x09,
  kVkReturn = 0x0D,
  kVkShift = 0x10,
  kVkControl = 0x11,
  kVkMenu = 0x12,  // Alt
  kVkEscape = 0x1B,
  kVkSpace = 0x20,
  kVkPageUp = 0x21,
  kVkPageDown = 0x22,
  kVkEnd = 0x23,
  kVkHome = 0x24,
  kVkLeft = 0x25,
  kVkUp = 0x26,
  kVkRight = 0x27,
  kVkDown = 0x28,
  kVkInsert = 0x2D,
  kVkDelete = 0x2E,
  kVkF1 = 0x70,
  kVkF2 = 0x71,
  kVkF3 = 0x72,
  kVkF4 = 0x73,
  kVkF5 = 0x74,
  kVkF12 = 0x7B,
};

// A key with its modifiers, as a menu shortcut. key 0 means "no shortcut".
struct KeyChord {
  int key = 0;
  int modifiers = kNoModifier;

  bool empty() const { return key == 0; }
  friend bool operator==(const KeyChord&, const KeyChord&) = default;
};

}  // namespace sr::ui

#endif  // SALARY_PLATFORM_UI_KEYS_H_
