#include "platform/qt/ui/qt_text.h"

#include <string>

#include "base/gbk.h"

namespace sr::qt {

QString ToQString(const Text& gbk) {
  return QString::fromStdString(ToUtf8(gbk));
}

bool FromQString(const QString& text, Text* gbk, QString* bad) {
  std::string bad_utf8;
  Text converted;
  if (!Utf8ToGbk(text.toStdString(), &converted, &bad_utf8)) {
    if (bad != nullptr) *bad = QString::fromStdString(bad_utf8);
    return false;
  }
  *gbk = std::move(converted);
  return true;
}

QString ToQStringLines(const Text& gbk) {
  QString text = ToQString(gbk);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

int GbkCharacterCode(const QString& character) {
  Text gbk;
  if (character.isEmpty() || !FromQString(character, &gbk)) return 0;
  if (gbk.size() == 1) return static_cast<unsigned char>(gbk[0]);
  if (gbk.size() == 2)
    return (static_cast<unsigned char>(gbk[0]) << 8) | static_cast<unsigned char>(gbk[1]);
  return 0;
}

}  // namespace sr::qt
