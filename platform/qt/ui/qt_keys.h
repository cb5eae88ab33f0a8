#ifndef SALARY_PLATFORM_QT_UI_QT_KEYS_H_
#define SALARY_PLATFORM_QT_UI_QT_KEYS_H_

#include <QKeySequence>
#include <Qt>

#include "platform/ui/keys.h"

namespace sr::qt {

// The virtual-key code of a Qt key, 0 for keys the models have no code for.
int VirtualKeyFromQt(int qt_key);

// The Modifier bits of Qt's modifiers.
int ModifiersFromQt(Qt::KeyboardModifiers modifiers);

// A menu shortcut as Qt shows and matches it; empty for an empty chord or an unknown key.
QKeySequence ToKeySequence(const ui::KeyChord& chord);

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_QT_KEYS_H_
