#ifndef SALARY_PLATFORM_QT_UI_TOOLBAR_PEER_H_
#define SALARY_PLATFORM_QT_UI_TOOLBAR_PEER_H_

#include <memory>

#include "platform/ui/peer.h"

class QWidget;

namespace sr::qt {

// The toolbar: docked along the top edge of `parent` over its full width, a 16 x 16 picture with
// the caption below it on every button, tool-tips, and the buttons' states as the model sets them.
std::unique_ptr<ui::ControlPeer> CreateToolbar(const ui::ControlSpec& description,
                                               ui::ControlEvents* events, QWidget* parent);

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_TOOLBAR_PEER_H_
