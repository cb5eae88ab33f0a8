#include "platform/win32/ui/window_menu.h"

#include <set>
#include <utility>

#include "platform/win32/ui/win32_ui.h"

namespace sr::win32 {
namespace {

std::wstring KeyName(int key) {
  if (key >= ui::kVkF1 && key <= ui::kVkF12) return L"F" + std::to_wstring(key - ui::kVkF1 + 1);
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::wstring(1, key);
  switch (key) {
    case ui::kVkDelete: return L"Del";
    case ui::kVkInsert: return L"Ins";
    default: return L"#" + std::to_wstring(key);
  }
}

}  // namespace

std::wstring MenuItemText(const ui::MenuEntrySpec& entry) {
  std::wstring text = ShownText(entry.caption);
  if (entry.shortcut.empty()) return text;
  text += L'\t';
  if (entry.shortcut.modifiers & ui::kCtrl) text += L"Ctrl+";
  if (entry.shortcut.modifiers & ui::kShift) text += L"Shift+";
  if (entry.shortcut.modifiers & ui::kAlt) text += L"Alt+";
  return text + KeyName(entry.shortcut.key);
}

std::vector<ACCEL> MenuAccelerators(const std::vector<ui::MenuEntrySpec>& menu) {
  std::vector<ACCEL> table;
  std::set<std::pair<int, int>> taken;
  for (size_t i = 0; i < menu.size(); ++i) {
    const ui::MenuEntrySpec& entry = menu[i];
    if (entry.level == 0 || entry.separator() || entry.shortcut.empty()) continue;
    if (!taken.insert({entry.shortcut.key, entry.shortcut.modifiers}).second) continue;
    BYTE flags = FVIRTKEY;
    if (entry.shortcut.modifiers & ui::kCtrl) flags |= FCONTROL;
    if (entry.shortcut.modifiers & ui::kShift) flags |= FSHIFT;
    if (entry.shortcut.modifiers & ui::kAlt) flags |= FALT;
    table.push_back({flags, static_cast<WORD>(entry.shortcut.key),
                     static_cast<WORD>(i + kFirstMenuCommand)});
  }
  return table;
}

WindowMenu::WindowMenu(const std::vector<ui::MenuEntrySpec>& entries)
    : entries_(entries), drop_downs_(entries.size(), nullptr), positions_(entries.size(), -1) {
  if (entries_.empty()) return;
  bar_ = CreateMenu();
  HMENU current = nullptr;
  int position = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const ui::MenuEntrySpec& entry = entries_[i];
    if (entry.level == 0) {
      current = CreatePopupMenu();
      AppendMenuW(bar_, MF_POPUP | (entry.disabled ? MF_GRAYED : 0),
                  reinterpret_cast<UINT_PTR>(current), ShownText(entry.caption).c_str());
      positions_[i] = position++;
    } else if (current != nullptr && entry.separator()) {
      AppendMenuW(current, MF_SEPARATOR, 0, nullptr);
    } else if (current != nullptr) {
      AppendMenuW(current, MF_STRING | (entry.disabled ? MF_GRAYED : 0), i + kFirstMenuCommand,
                  MenuItemText(entry).c_str());
    }
    drop_downs_[i] = current;
  }
  std::vector<ACCEL> table = MenuAccelerators(entries_);
  if (!table.empty()) accelerators_ = CreateAcceleratorTableW(table.data(), table.size());
}

WindowMenu::~WindowMenu() {
  if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
  // The bar goes with its window; one that never reached a window is ours to destroy.
  if (bar_ != nullptr && IsMenu(bar_)) DestroyMenu(bar_);
}

HMENU WindowMenu::DropDown(int entry) const {
  if (entry < 0 || entry >= static_cast<int>(entries_.size()) || entries_[entry].level != 0) {
    return nullptr;
  }
  return drop_downs_[entry];
}

void WindowMenu::SetDisabled(int index, bool disabled) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return;
  entries_[index].disabled = disabled;
  const UINT state = disabled ? MF_GRAYED : MF_ENABLED;
  if (entries_[index].level == 0) {
    EnableMenuItem(bar_, positions_[index], MF_BYPOSITION | state);
  } else if (drop_downs_[index] != nullptr) {
    EnableMenuItem(drop_downs_[index], index + kFirstMenuCommand, MF_BYCOMMAND | state);
  }
}

int WindowMenu::ChosenEntry(int command) const {
  const int index = command - kFirstMenuCommand;
  if (index < 0 || index >= static_cast<int>(entries_.size())) return -1;
  const ui::MenuEntrySpec& entry = entries_[index];
  if (entry.level == 0 || entry.separator() || entry.disabled) return -1;
  return index;
}

}  // namespace sr::win32
