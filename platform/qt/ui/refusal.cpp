#include "platform/qt/ui/refusal.h"

#include <QCursor>
#include <QToolTip>
#include <QWidget>
#include <cstdio>

namespace sr::qt {

QString RefusalMessage(const QString& character) {
  const uint code = character.isEmpty() ? 0 : character.toUcs4().value(0);
  // The clerk reads Chinese; the code point lets a maintainer tell look-alike characters apart.
  return QStringLiteral("“%1”(U+%2)无法保存：本程序的文字使用 GBK 字符集，其中没有这个字符。")
      .arg(character, QString::number(code, 16).toUpper().rightJustified(4, QChar('0')));
}

void ShowRefusal(QWidget* near, const QString& character) {
  const QString message = RefusalMessage(character);
  std::fprintf(stderr, "%s\n", message.toUtf8().constData());
  const QPoint at = near != nullptr ? near->mapToGlobal(QPoint(0, near->height())) : QCursor::pos();
  QToolTip::showText(at, message, near);
}

}  // namespace sr::qt
