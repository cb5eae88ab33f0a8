#include "platform/qt/ui/grid_peer.h"

#include "platform/qt/grid/grid_widget.h"
#include "platform/qt/ui/control_peers.h"

namespace sr::qt {
namespace {

// The grid view reports the cells' input to the grid's input itself; the peer adds the generic
// events and keeps the view's size and place as the model sets them.
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
  if (description.grid_source == nullptr || description.grid_input == nullptr) return nullptr;
  auto* view = new GridWidget(description.grid_source, description.grid_input, parent);
  return std::make_unique<GridPeer>(view, description, events);
}

}  // namespace sr::qt
