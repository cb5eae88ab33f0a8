#include "platform/qt/ui/qt_clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "platform/qt/ui/qt_text.h"
#include "platform/qt/ui/refusal.h"

namespace sr::qt {

bool QtClipboard::GetText(Text* text) {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasText()) return false;
  QString bad;
  if (!FromQString(data->text(), text, &bad)) {
    ShowRefusal(QApplication::focusWidget(), bad);
    return false;
  }
  return true;
}

void QtClipboard::SetText(const Text& text) {
  // The grid ends its copy with the NUL of a C string; the desktop's text has none.
  const size_t end = text.find('\0');
  QGuiApplication::clipboard()->setText(ToQString(text.substr(0, end)));
}

}  // namespace sr::qt
