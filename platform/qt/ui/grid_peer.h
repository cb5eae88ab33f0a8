#ifndef SALARY_PLATFORM_QT_UI_GRID_PEER_H_
#define SALARY_PLATFORM_QT_UI_GRID_PEER_H_

#include <memory>

#include "platform/ui/peer.h"

class QWidget;

namespace sr::qt {

// The peer of a grid control: the grid view widget over description.grid_source, reporting to
// description.grid_input, as a child of `parent`. Null without them.
std::unique_ptr<ui::ControlPeer> CreateGridPeer(const ui::ControlSpec& description,
                                                ui::ControlEvents* events, QWidget* parent);

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_GRID_PEER_H_
