#ifndef SALARY_PLATFORM_QT_UI_QT_TEXT_H_
#define SALARY_PLATFORM_QT_UI_QT_TEXT_H_

#include <QString>

#include "base/value.h"

namespace sr::qt {

// A GBK text of the models as Qt shows it. Every GBK text converts.
QString ToQString(const Text& gbk);

// A text the user typed or pasted, for the models. Returns false when it holds a character that
// GBK cannot hold; *bad then names the first such character.
bool FromQString(const QString& text, Text* gbk, QString* bad = nullptr);

// A GBK text with CR LF line breaks, for a widget that breaks lines at LF.
QString ToQStringLines(const Text& gbk);

// The character code that a typed character carries in the models: a one-byte character as its
// byte, a two-byte one as (lead << 8) | trail. 0 when GBK cannot hold it.
int GbkCharacterCode(const QString& character);

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_QT_TEXT_H_
