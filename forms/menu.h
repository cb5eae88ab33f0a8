#ifndef SALARY_FORMS_MENU_H_
#define SALARY_FORMS_MENU_H_

#include <functional>
#include <vector>

#include "base/value.h"
#include "platform/ui/keys.h"
#include "platform/ui/peer.h"

namespace sr::forms {

class Window;

// One menu entry: level 0 on the menu bar, level 1 in the drop-down of the level-0 entry before
// it. A caption "-" is a separator; "&" marks the mnemonic letter.
struct MenuItem {
  Text caption;
  int level = 0;
  ui::KeyChord shortcut;
  bool disabled = false;
  std::function<void()> on_chosen;  // null: the entry has no command

  bool separator() const { return caption == "-"; }
};

// A window's menu: its entries in order, addressed by index.
class Menu {
 public:
  explicit Menu(Window* window) : window_(window) {}

  // Appends an entry and returns its index.
  int Add(Text caption, int level, ui::KeyChord shortcut = {}, bool disabled = false);
  // Binds the command run when the entry is chosen.
  void Bind(int index, std::function<void()> command);

  int size() const { return static_cast<int>(items_.size()); }
  const MenuItem& item(int index) const { return items_.at(index); }
  const std::vector<MenuItem>& items() const { return items_; }

  bool disabled(int index) const { return items_.at(index).disabled; }
  // Sets the entry's disabled flag and tells the window's peer. An index outside the menu is
  // ignored.
  void SetDisabled(int index, bool disabled);

  // The index of the level-0 entry with this caption, or of the level-1 entry with this caption
  // under it; -1 when there is none.
  int Find(const Text& bar_caption) const;
  int Find(const Text& bar_caption, const Text& entry_caption) const;

  // The user chose the entry: runs its command unless it is disabled, a separator, a menu-bar
  // entry or without a command.
  void Choose(int index);

  std::vector<ui::MenuEntrySpec> Description() const;

 private:
  Window* window_;
  std::vector<MenuItem> items_;
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_MENU_H_
