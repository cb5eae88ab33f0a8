#ifndef SALARY_PLATFORM_QT_GRID_GRID_KEYS_H_
#define SALARY_PLATFORM_QT_GRID_GRID_KEYS_H_

#include <Qt>

namespace sr::qt {

// The virtual-key code of a Qt key for the grid model, 0 when it has none.
int GridVirtualKey(int qt_key);

// Modifier bits (1 Ctrl, 2 Shift, 4 Alt) of Qt's modifiers.
int GridModifiers(Qt::KeyboardModifiers modifiers);

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_GRID_GRID_KEYS_H_
