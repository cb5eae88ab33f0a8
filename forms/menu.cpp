#include "forms/menu.h"

#include <utility>

#include "forms/window.h"

namespace sr::forms {

int Menu::Add(Text caption, int level, ui::KeyChord shortcut, bool disabled) {
  items_.push_back({std::move(caption), level, shortcut, disabled, nullptr});
  return size() - 1;
}

void Menu::Bind(int index, std::function<void()> command) {
  items_.at(index).on_chosen = std::move(command);
}

void Menu::SetDisabled(int index, bool disabled) {
  if (index < 0 || index >= size()) return;
  items_[index].disabled = disabled;
  if (window_ != nullptr && window_->peer() != nullptr) {
    window_->peer()->SetMenuEntryDisabled(index, disabled);
  }
}

int Menu::Find(const Text& bar_caption) const {
  for (int i = 0; i < size(); ++i) {
    if (items_[i].level == 0 && items_[i].caption == bar_caption) return i;
  }
  return -1;
}

int Menu::Find(const Text& bar_caption, const Text& entry_caption) const {
  int bar = Find(bar_caption);
  if (bar < 0) return -1;
  for (int i = bar + 1; i < size() && items_[i].level > 0; ++i) {
    if (items_[i].caption == entry_caption) return i;
  }
  return -1;
}

void Menu::Choose(int index) {
  if (index < 0 || index >= size()) return;
  const MenuItem& item = items_[index];
  if (item.level == 0 || item.disabled || item.separator() || !item.on_chosen) return;
  // Copied: the command may change the menu.
  std::function<void()> command = item.on_chosen;
  if (window_ != nullptr) {
    window_->Dispatch(command);
  } else {
    command();
  }
}

std::vector<ui::MenuEntrySpec> Menu::Description() const {
  std::vector<ui::MenuEntrySpec> description;
  for (const MenuItem& item : items_) {
    description.push_back({item.caption, item.level, item.shortcut, item.disabled});
  }
  return description;
}

}  // namespace sr::forms
