#ifndef SALARY_PLATFORM_UI_MEMORY_CLIPBOARD_H_
#define SALARY_PLATFORM_UI_MEMORY_CLIPBOARD_H_

#include "platform/ui/clipboard.h"

namespace sr {

// A clipboard held in memory, for tests and the headless backend.
class MemoryClipboard : public Clipboard {
 public:
  bool GetText(Text* text) override {
    if (!has_text_) return false;
    *text = text_;
    return true;
  }
  void SetText(const Text& text) override {
    text_ = text;
    has_text_ = true;
  }

  bool has_text() const { return has_text_; }
  const Text& text() const { return text_; }
  // Empties the clipboard, as when another program put a non-text format on it.
  void Clear() {
    text_.clear();
    has_text_ = false;
  }

 private:
  Text text_;
  bool has_text_ = false;
};

}  // namespace sr

#endif  // SALARY_PLATFORM_UI_MEMORY_CLIPBOARD_H_
