#ifndef SALARY_PLATFORM_WIN32_UI_TOOLBAR_PEER_H_
#define SALARY_PLATFORM_WIN32_UI_TOOLBAR_PEER_H_

#include <memory>

#include "platform/win32/ui/control_peers.h"
// commctrl.h needs windows.h before it.
#include <commctrl.h>

namespace sr::win32 {

// The common toolbar control docked along the top of the window: a button per entry with its
// picture from the 28-image list, its caption below and a tool-tip; separators between.
std::unique_ptr<ControlPeerBase> MakeToolbar(const ui::ControlSpec& info, ui::ControlEvents* events,
                                             HWND parent, int id);

// Toolbar state bits of keys.h's ToolbarState as the control's TBSTATE_* bits.
BYTE NativeToolbarState(int state);

// The 28 pictures of the toolbar's image list, 16 x 16, drawn here.
HIMAGELIST ToolbarImages();

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_UI_TOOLBAR_PEER_H_
