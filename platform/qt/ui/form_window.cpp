#include "platform/qt/ui/form_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMenuBar>

#include "platform/qt/ui/control_peers.h"
#include "platform/qt/ui/grid_peer.h"
#include "platform/qt/ui/icons/painted_icons.h"
#include "platform/qt/ui/input_reporter.h"
#include "platform/qt/ui/qt_keys.h"
#include "platform/qt/ui/qt_text.h"
#include "platform/qt/ui/toolbar_peer.h"

namespace sr::qt {

FormWindow::FormWindow(const ui::WindowSpec& description, ui::WindowEvents* events, QWidget* owner)
    : QMainWindow(owner), spec_(description), events_(events), client_(new QWidget(this)) {
  setObjectName(ToQString(description.name));
  // A secondary window has a fixed frame without minimise and maximise boxes, and stays above
  // the window it was opened from.
  if (!description.sizable) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
  }
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowTitle(ToQString(description.caption));
  if (description.has_icon) setWindowIcon(ProgramIcon());
  setCentralWidget(client_);
  BuildMenu();
  SetFrameRect(description.rect);
}

void FormWindow::BuildMenu() {
  QMenu* current = nullptr;
  for (int index = 0; index < static_cast<int>(spec_.menu.size()); ++index) {
    const ui::MenuEntrySpec& entry = spec_.menu[index];
    QAction* action = nullptr;
    if (entry.level == 0) {
      current = menuBar()->addMenu(ToQString(entry.caption));
      action = current->menuAction();
    } else if (current == nullptr) {
      // An entry before any menu-bar entry has no drop-down to live in.
    } else if (entry.separator()) {
      current->addSeparator();
    } else {
      action = current->addAction(ToQString(entry.caption));
      action->setShortcut(ToKeySequence(entry.shortcut));
      connect(action, &QAction::triggered, this, [this, index] {
        if (events_ != nullptr) events_->OnMenuChosen(index);
      });
    }
    if (action != nullptr) action->setEnabled(!entry.disabled);
    menu_actions_.push_back(action);
  }
}

QAction* FormWindow::MenuAction(int index) const {
  if (index < 0 || index >= static_cast<int>(menu_actions_.size())) return nullptr;
  return menu_actions_[index];
}

ui::Rect FormWindow::FrameRect() const {
  const QRect frame = frameGeometry();
  return {frame.x(), frame.y(), frame.width(), frame.height()};
}

// Qt places a window by its frame but sizes it by its inside; the frame's thickness is known
// once the window manager has framed the window (0 before that, and without a window manager).
void FormWindow::SetFrameRect(const ui::Rect& rect) {
  wanted_ = rect;
  const QSize extra = frameGeometry().size() - geometry().size();
  const QSize inside(std::max(1, rect.width - extra.width()),
                     std::max(1, rect.height - extra.height()));
  move(rect.left, rect.top);
  inside_set_ = inside;
  if (spec_.minimum_width > 0 || spec_.minimum_height > 0) {
    setMinimumSize(std::max(1, spec_.minimum_width - extra.width()),
                   std::max(1, spec_.minimum_height - extra.height()));
  }
  if (spec_.sizable) {
    resize(inside);
  } else {
    setFixedSize(inside);
  }
}

void FormWindow::closeEvent(QCloseEvent* event) {
  event->ignore();  // the model decides, and destroys the peer when the window really closes
  if (events_ != nullptr && !blocked_) events_->OnCloseRequested();
}

void FormWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ReportRect();
}

void FormWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  ReportRect();
}

void FormWindow::ReportRect() {
  // Sized before the window manager framed it, the window came out larger than wanted by the
  // frame: size it once more now that the frame is known.
  if (!frame_known_ && frameGeometry().size() != geometry().size()) {
    frame_known_ = true;
    if (size() == inside_set_) SetFrameRect(wanted_);  // unless someone resized it since
  }
  if (events_ != nullptr) events_->OnRectChanged(FrameRect());
}

WindowPeerImpl::WindowPeerImpl(const ui::WindowSpec& description, ui::WindowEvents* events,
                               QWidget* owner)
    : window_(new FormWindow(description, events, owner)) {}

WindowPeerImpl::~WindowPeerImpl() {
  EndModal();
  if (window_) {
    window_->Detach();
    window_->hide();
    DisposeLater(window_);
  }
}

std::unique_ptr<ui::ControlPeer> WindowPeerImpl::CreateControl(const ui::ControlSpec& description,
                                                               ui::ControlEvents* events,
                                                               ui::ControlPeer* container) {
  if (!window_) return nullptr;
  auto* holder = dynamic_cast<WidgetPeer*>(container);
  QWidget* parent = holder != nullptr && holder->widget() ? holder->widget() : window_->client();
  switch (description.kind) {
    case ui::ControlKind::kToolbar:
      return CreateToolbar(description, events, parent);
    case ui::ControlKind::kGrid:
      return CreateGridPeer(description, events, parent);
    default:
      return CreateSimpleControl(description, events, parent);
  }
}

void WindowPeerImpl::Show() {
  if (!window_) return;
  window_->show();
  window_->raise();
  window_->activateWindow();
}

void WindowPeerImpl::SetRect(const ui::Rect& rect) {
  if (window_) window_->SetFrameRect(rect);
}

void WindowPeerImpl::SetVisible(bool visible) {
  if (window_) window_->setVisible(visible);
}

void WindowPeerImpl::SetEnabled(bool enabled) {
  if (window_) window_->SetBlocked(!enabled);
}

void WindowPeerImpl::SetCaption(const ui::Text& caption) {
  if (window_) window_->setWindowTitle(ToQString(caption));
}

void WindowPeerImpl::SetMenuEntryDisabled(int index, bool disabled) {
  if (!window_) return;
  if (QAction* action = window_->MenuAction(index)) action->setEnabled(!disabled);
}

void WindowPeerImpl::EndModal() {
  modal_ended_ = true;
  if (modal_loop_ != nullptr) modal_loop_->quit();
}

}  // namespace sr::qt
