#ifndef SALARY_PLATFORM_QT_GRID_TESTS_TYPING_H_
#define SALARY_PLATFORM_QT_GRID_TESTS_TYPING_H_

#include <QApplication>
#include <QKeyEvent>
#include <QString>

namespace sr::qt::testing {

// Characters as a keyboard or input method delivers them, one key event each (QTest only types
// ASCII).
inline void TypeUnicode(QWidget* target, const QString& text) {
  for (char32_t ch : text.toUcs4()) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUcs4(&ch, 1));
    QApplication::sendEvent(target, &press);
  }
}

}  // namespace sr::qt::testing

#endif  // SALARY_PLATFORM_QT_GRID_TESTS_TYPING_H_
