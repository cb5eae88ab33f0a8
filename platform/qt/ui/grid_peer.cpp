#include "platform/qt/ui/grid_peer.h"

#include <QFrame>

#include "platform/qt/ui/control_peers.h"

namespace sr::qt {

// Until the grid view widget (platform/qt/grid) is in, the grid's place shows an empty frame.
std::unique_ptr<ui::ControlPeer> CreateGridPeer(const ui::ControlSpec& spec,
                                                ui::ControlEvents* events, QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setAutoFillBackground(true);
  frame->setBackgroundRole(QPalette::Base);
  return std::make_unique<WidgetPeer>(frame, spec, events);
}

}  // namespace sr::qt
