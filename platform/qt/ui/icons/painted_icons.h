#ifndef SALARY_PLATFORM_QT_UI_ICONS_PAINTED_ICONS_H_
#define SALARY_PLATFORM_QT_UI_ICONS_PAINTED_ICONS_H_

#include <QIcon>

namespace sr::qt {

// Picture `image` of the main toolbar's 28-entry image list, painted in code at 16 x 16 (and
// 32 x 32 for high-density screens), each size when it is first needed. Images the toolbar does
// not use yield a null icon.
QIcon ToolbarImage(int image);

// The program's window icon (a ledger with a coin), at 16, 32 and 48 pixels.
QIcon ProgramIcon();

// The chevron of a toolbar's or menu bar's extension button ("more"), pointing along
// `orientation`'s direction of reading, at 16 and 32 pixels.
QIcon ExtensionImage(Qt::Orientation orientation);

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_ICONS_PAINTED_ICONS_H_
