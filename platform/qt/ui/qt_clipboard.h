#ifndef SALARY_PLATFORM_QT_UI_QT_CLIPBOARD_H_
#define SALARY_PLATFORM_QT_UI_QT_CLIPBOARD_H_

#include "platform/ui/clipboard.h"

namespace sr::qt {

// The desktop's clipboard in plain text. Texts go out as Unicode; a text coming in that holds a
// character GBK cannot hold is refused whole, with a note to the user, rather than pasted with
// question marks in it.
class QtClipboard : public Clipboard {
 public:
  bool GetText(Text* text) override;
  void SetText(const Text& text) override;
};

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_QT_CLIPBOARD_H_
