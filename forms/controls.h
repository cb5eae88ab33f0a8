#ifndef SALARY_FORMS_CONTROLS_H_
#define SALARY_FORMS_CONTROLS_H_

#include <vector>

#include "forms/control.h"
#include "platform/ui/peer.h"

namespace sr::forms {

class Label : public Control {
 public:
  Label(Text name, ui::Rect rect, Text caption, int text_color = ui::kDefaultColor,
        bool multi_line = false);

  const Text& caption() const { return caption_; }
  void SetCaption(const Text& caption);
  int text_color() const { return text_color_; }

 protected:
  void FillSpec(ui::ControlSpec* description) const override;

 private:
  Text caption_;
  int text_color_;
  bool multi_line_;
};

// Own event: kButtonClicked.
class Button : public Control {
 public:
  Button(Text name, ui::Rect rect, Text caption);

  const Text& caption() const { return caption_; }
  void SetCaption(const Text& caption);

  void OnClicked() override;

 protected:
  void FillSpec(ui::ControlSpec* description) const override;

 private:
  Text caption_;
};

// Own event: kEditBoxChanged, raised whenever the content changes, by the user or by SetText
// (as an edit control notifies every change of its text).
class EditBox;
// Enter in `box` presses `button` (when it is enabled), as in a dialog whose default button it is.
void PressOnEnter(EditBox& box, Button& button);

class EditBox : public Control {
 public:
  EditBox(Text name, ui::Rect rect);

  const Text& text() const { return text_; }
  void SetText(const Text& text);

  void OnTextEdited(const Text& text) override;

 protected:
  void FillSpec(ui::ControlSpec* description) const override;

 private:
  Text text_;
};

class ProgressBar : public Control {
 public:
  static constexpr int kMinimum = 0;
  static constexpr int kMaximum = 100;

  ProgressBar(Text name, ui::Rect rect);

  int position() const { return position_; }
  // Clamped to the bar's range.
  void SetPosition(int position);

 protected:
  void FillSpec(ui::ControlSpec* description) const override;

 private:
  int position_ = kMinimum;
};

// A rectangle drawn with a line colour and an optional fill; it may contain other controls.
class ShapeBox : public Control {
 public:
  ShapeBox(Text name, ui::Rect rect, int line_color, int fill_color = ui::kDefaultColor);

 protected:
  void FillSpec(ui::ControlSpec* description) const override;

 private:
  int line_color_;
  int fill_color_;
};

// Own event: kToolbarButtonClicked with the button's index (separators counted).
class Toolbar : public Control {
 public:
  Toolbar(Text name, ui::Rect rect, std::vector<ui::ToolbarEntrySpec> entries);

  int size() const { return static_cast<int>(entries_.size()); }
  const ui::ToolbarEntrySpec& entry(int index) const { return entries_.at(index); }
  int ButtonState(int index) const;
  bool ButtonEnabled(int index) const;
  // Sets or clears state bits (ui::ToolbarState) of a button; other indexes are ignored.
  void SetButtonState(int index, int bits);
  void ClearButtonState(int index, int bits);

  // A click on a disabled button, a separator or a missing index is ignored.
  void OnToolbarButtonClicked(int index) override;

 protected:
  void FillSpec(ui::ControlSpec* description) const override;

 private:
  bool IsButton(int index) const;
  void StoreState(int index, int state);

  std::vector<ui::ToolbarEntrySpec> entries_;
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_CONTROLS_H_
