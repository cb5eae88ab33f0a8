#ifndef SALARY_PLATFORM_WIN32_UI_WINDOW_MENU_H_
#define SALARY_PLATFORM_WIN32_UI_WINDOW_MENU_H_

#include "platform/win32/ui/win32_ui.h"

#include <string>
#include <vector>

#include "platform/ui/peer.h"

namespace sr::win32 {

// Menu entries are WM_COMMAND ids from here on (index + kFirstMenuCommand); control ids start
// far above them.
constexpr int kFirstMenuCommand = 1;

// The entry's text in a menu: its caption, then a tab and its shortcut ("Ctrl+A", "F5").
std::wstring MenuItemText(const ui::MenuEntrySpec& entry);

// The accelerator table of a menu: every drop-down entry with a shortcut, the first one of a
// chord winning when two share it. Separators and menu-bar entries take none.
std::vector<ACCEL> MenuAccelerators(const std::vector<ui::MenuEntrySpec>& menu);

// A window's menu bar with its drop-downs, built once from the form's entries.
class WindowMenu {
 public:
  explicit WindowMenu(const std::vector<ui::MenuEntrySpec>& entries);
  ~WindowMenu();
  WindowMenu(const WindowMenu&) = delete;
  WindowMenu& operator=(const WindowMenu&) = delete;

  HMENU bar() const { return bar_; }
  HACCEL accelerators() const { return accelerators_; }
  // The drop-down of menu-bar entry `entry` (an index into the entries), or null.
  HMENU DropDown(int entry) const;

  void SetDisabled(int index, bool disabled);
  // The entry a command id names, when it is a drop-down entry that is enabled; else -1.
  int ChosenEntry(int command) const;

 private:
  std::vector<ui::MenuEntrySpec> entries_;
  std::vector<HMENU> drop_downs_;  // per entry: the drop-down it is, or belongs to
  std::vector<int> positions_;     // per menu-bar entry: its position in the bar
  HMENU bar_ = nullptr;
  HACCEL accelerators_ = nullptr;
};

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_UI_WINDOW_MENU_H_
