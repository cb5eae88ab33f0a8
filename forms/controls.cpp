#include "forms/controls.h"

#include <algorithm>
#include <utility>

#include "forms/events.h"
#include "platform/ui/keys.h"

namespace sr::forms {

void PressOnEnter(EditBox& box, Button& button) {
  box.Bind(GenericEvent(ui::Input::kKeyDown), [&button](const EventArgs& args) {
    if (args.a == ui::kVkReturn && args.b == 0 && button.enabled()) button.OnClicked();
  });
}

Label::Label(Text name, ui::Rect rect, Text caption, int text_color, bool multi_line)
    : Control(ui::ControlKind::kLabel, std::move(name), rect),
      caption_(std::move(caption)),
      text_color_(text_color),
      multi_line_(multi_line) {
  set_can_focus(false);
}

void Label::SetCaption(const Text& caption) {
  caption_ = caption;
  if (peer()) peer()->SetText(caption);
}

void Label::FillSpec(ui::ControlSpec* description) const {
  description->text = caption_;
  description->text_color = text_color_;
  description->multi_line = multi_line_;
}

Button::Button(Text name, ui::Rect rect, Text caption)
    : Control(ui::ControlKind::kButton, std::move(name), rect), caption_(std::move(caption)) {}

void Button::SetCaption(const Text& caption) {
  caption_ = caption;
  if (peer()) peer()->SetText(caption);
}

void Button::OnClicked() {
  if (enabled()) Raise(kButtonClicked);
}

void Button::FillSpec(ui::ControlSpec* description) const { description->text = caption_; }

EditBox::EditBox(Text name, ui::Rect rect)
    : Control(ui::ControlKind::kEditBox, std::move(name), rect) {}

void EditBox::SetText(const Text& text) {
  text_ = text;
  if (peer()) peer()->SetText(text);
  Raise(kEditBoxChanged);
}

void EditBox::OnTextEdited(const Text& text) {
  if (text == text_) return;
  text_ = text;
  Raise(kEditBoxChanged);
}

void EditBox::FillSpec(ui::ControlSpec* description) const { description->text = text_; }

ProgressBar::ProgressBar(Text name, ui::Rect rect)
    : Control(ui::ControlKind::kProgressBar, std::move(name), rect) {
  set_can_focus(false);
}

void ProgressBar::SetPosition(int position) {
  position_ = std::clamp(position, kMinimum, kMaximum);
  if (peer()) peer()->SetProgressPosition(position_);
}

void ProgressBar::FillSpec(ui::ControlSpec* description) const {
  description->progress_minimum = kMinimum;
  description->progress_maximum = kMaximum;
  description->progress_position = position_;
}

ShapeBox::ShapeBox(Text name, ui::Rect rect, int line_color, int fill_color)
    : Control(ui::ControlKind::kShapeBox, std::move(name), rect),
      line_color_(line_color),
      fill_color_(fill_color) {
  set_can_focus(false);
}

void ShapeBox::FillSpec(ui::ControlSpec* description) const {
  description->line_color = line_color_;
  description->fill_color = fill_color_;
}

Toolbar::Toolbar(Text name, ui::Rect rect, std::vector<ui::ToolbarEntrySpec> entries)
    : Control(ui::ControlKind::kToolbar, std::move(name), rect), entries_(std::move(entries)) {
  set_can_focus(false);
}

bool Toolbar::IsButton(int index) const {
  return index >= 0 && index < size() && !entries_[index].separator;
}

int Toolbar::ButtonState(int index) const { return IsButton(index) ? entries_[index].state : 0; }

bool Toolbar::ButtonEnabled(int index) const {
  return IsButton(index) && (entries_[index].state & ui::kToolbarDisabled) == 0;
}

void Toolbar::StoreState(int index, int state) {
  if (!IsButton(index)) return;
  entries_[index].state = state;
  if (peer()) peer()->SetToolbarButtonState(index, state);
}

void Toolbar::SetButtonState(int index, int bits) { StoreState(index, ButtonState(index) | bits); }

void Toolbar::ClearButtonState(int index, int bits) {
  StoreState(index, ButtonState(index) & ~bits);
}

void Toolbar::OnToolbarButtonClicked(int index) {
  if (!enabled() || !ButtonEnabled(index)) return;
  Raise(kToolbarButtonClicked, {index});
}

void Toolbar::FillSpec(ui::ControlSpec* description) const { description->toolbar_entries = entries_; }

}  // namespace sr::forms
