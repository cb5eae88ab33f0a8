#include "platform/qt/ui/grid_peer.h"

#include "platform/qt/grid/grid_widget.h"
#include "platform/qt/ui/control_peers.h"

namespace sr::qt {
namespace {

// The grid view feeds its input to the grid model itself; the peer adds the generic events and
// keeps the view's size and place as the model sets them.
class GridPeer : public WidgetPeer {
 public:
  GridPeer(GridWidget* view, const ui::ControlSpec& description, ui::ControlEvents* events)
      : WidgetPeer(view, description, events) {
    reporter()->Watch(view->viewport());  // the mouse acts on the cells' area, not the frame
  }
};

}  // namespace

std::unique_ptr<ui::ControlPeer> CreateGridPeer(const ui::ControlSpec& description,
                                                ui::ControlEvents* events, QWidget* parent) {
  if (description.grid == nullptr) return nullptr;
  return std::make_unique<GridPeer>(new GridWidget(description.grid, parent), description, events);
}

}  // namespace sr::qt
