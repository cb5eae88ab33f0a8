#ifndef SALARY_PLATFORM_QT_UI_REFUSAL_H_
#define SALARY_PLATFORM_QT_UI_REFUSAL_H_

#include <QString>

class QWidget;

namespace sr::qt {

// The note shown when the user types, pastes or chooses a text with `character`, which GBK
// cannot hold: the text is refused rather than stored as question marks.
QString RefusalMessage(const QString& character);

// Shows that note as a tool-tip under `near` (at the mouse pointer when null) and on stderr.
void ShowRefusal(QWidget* near, const QString& character);

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_REFUSAL_H_
