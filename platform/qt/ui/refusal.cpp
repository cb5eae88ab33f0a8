#include "platform/qt/ui/refusal.h"

#include <QCursor>
#include <QToolTip>
#include <QWidget>
#include <cstdio>

namespace sr::qt {

QString RefusalMessage(const QString& character) {
  const uint code = character.isEmpty() ? 0 : character.toUcs4().value(0);
  return QStringLiteral("\"%1\" (U+%2) cannot be stored: this program keeps its texts in the GBK "
                        "character set, which has no such character.")
      .arg(character, QString::number(code, 16).toUpper().rightJustified(4, QChar('0')));
}

void ShowRefusal(QWidget* near, const QString& character) {
  const QString message = RefusalMessage(character);
  std::fprintf(stderr, "%s\n", message.toUtf8().constData());
  const QPoint at = near != nullptr ? near->mapToGlobal(QPoint(0, near->height())) : QCursor::pos();
  QToolTip::showText(at, message, near);
}

}  // namespace sr::qt
