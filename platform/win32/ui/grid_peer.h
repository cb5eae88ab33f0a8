#ifndef SALARY_PLATFORM_WIN32_UI_GRID_PEER_H_
#define SALARY_PLATFORM_WIN32_UI_GRID_PEER_H_

#include <memory>

#include "platform/win32/ui/control_peers.h"

namespace sr::win32 {

// The grid as a child window of its own, drawn from the grid's source and reporting the user's
// input on it to the grid's input (platform/ui/grid_peer.h), plus the generic input of every control.
std::unique_ptr<ControlPeerBase> MakeGridPeer(const ui::ControlSpec& info,
                                              ui::ControlEvents* events, HWND parent, int id);

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_UI_GRID_PEER_H_
