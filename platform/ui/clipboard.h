#ifndef SALARY_PLATFORM_UI_CLIPBOARD_H_
#define SALARY_PLATFORM_UI_CLIPBOARD_H_

#include "base/value.h"

namespace sr {

// The system clipboard in its plain-text format. Texts are GBK; the real implementation converts
// to and from Unicode at its edge.
class Clipboard {
 public:
  virtual ~Clipboard() = default;

  // Fills *text with the clipboard's plain text and returns true; returns false, leaving *text
  // alone, when the clipboard holds no text (or it cannot be converted to GBK).
  virtual bool GetText(Text* text) = 0;

  // Replaces the clipboard's content by `text`.
  virtual void SetText(const Text& text) = 0;
};

}  // namespace sr

#endif  // SALARY_PLATFORM_UI_CLIPBOARD_H_
