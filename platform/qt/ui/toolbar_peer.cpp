#include "platform/qt/ui/toolbar_peer.h"

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QString>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <vector>

#include "platform/qt/ui/control_peers.h"
#include "platform/qt/ui/form_style.h"
#include "platform/qt/ui/icons/painted_icons.h"
#include "platform/qt/ui/qt_text.h"

namespace sr::qt {
namespace {

// Keeps the toolbar as wide as its parent's client area, at its natural height.
class Docking : public QObject {
 public:
  explicit Docking(QToolBar* toolbar) : QObject(toolbar), toolbar_(toolbar) {
    toolbar->parentWidget()->installEventFilter(this);
    Dock();
  }

  void Dock() {
    toolbar_->setGeometry(0, 0, toolbar_->parentWidget()->width(),
                          toolbar_->sizeHint().height());
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Resize) Dock();
    return false;
  }

 private:
  QToolBar* toolbar_;
};

// A toolbar button as narrow as its caption allows: Qt pads a caption under an icon with two
// spaces and a margin, which would push thirteen buttons past the labels that share the
// toolbar's strip at the right.
class CompactButton : public QToolButton {
 public:
  CompactButton(QAction* action, QWidget* parent) : QToolButton(parent) {
    setDefaultAction(action);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(16, 16));
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
  }

  QSize sizeHint() const override {
    const QSize natural = QToolButton::sizeHint();
    return {std::min(natural.width(), std::max(CaptionWidth(), iconSize().width()) + 6),
            natural.height()};
  }
  QSize minimumSizeHint() const override { return sizeHint(); }

 private:
  // The layouts ask a button for its size 22 times before the window first shows; laying out
  // the caption each time was a twentieth of the program's start-up.
  int CaptionWidth() const {
    if (measured_text_ != text() || measured_font_ != font()) {
      measured_text_ = text();
      measured_font_ = font();
      caption_width_ = fontMetrics().size(Qt::TextShowMnemonic, measured_text_).width();
    }
    return caption_width_;
  }

  mutable QString measured_text_;
  mutable QFont measured_font_;
  mutable int caption_width_ = 0;
};

// Tighter spacing than the desktop style's, for the same reason.
class ToolbarStyle : public FormStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    switch (metric) {
      case PM_ToolBarItemSpacing:
      case PM_ToolBarItemMargin:
        return 0;
      case PM_ToolBarSeparatorExtent:
        return 6;
      default:
        return FormStyle::pixelMetric(metric, option, widget);
    }
  }
};

class ToolbarPeer : public WidgetPeer {
 public:
  ToolbarPeer(QToolBar* toolbar, const ui::ControlSpec& description, ui::ControlEvents* events)
      : WidgetPeer(toolbar, description, events) {
    // One style for every toolbar, alive as long as the program: a widget does not own its style.
    static ToolbarStyle* const style = new ToolbarStyle;
    toolbar->setStyle(style);
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(16, 16));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (int index = 0; index < static_cast<int>(description.toolbar_entries.size()); ++index)
      actions_.push_back(AddEntry(toolbar, index, description.toolbar_entries[index]));
    docking_ = new Docking(toolbar);
  }

  // The docking decides the toolbar's place.
  void SetRect(const ui::Rect&) override {
    if (widget()) docking_->Dock();
  }

  void SetToolbarButtonState(int index, int state) override {
    if (!widget() || index < 0 || index >= static_cast<int>(actions_.size())) return;
    if (QAction* action = actions_[index]) ApplyState(action, state);
  }

 private:
  QAction* AddEntry(QToolBar* toolbar, int index, const ui::ToolbarEntrySpec& entry) {
    if (entry.separator) {
      toolbar->addSeparator();
      return nullptr;
    }
    auto* action = new QAction(ToolbarImage(entry.image), ToQString(entry.caption), toolbar);
    action->setToolTip(ToQString(entry.tooltip));
    toolbar->addWidget(new CompactButton(action, toolbar));
    ApplyState(action, entry.state);
    InputReporter* context = reporter();
    QObject::connect(action, &QAction::triggered, context, [context, index] {
      if (context->events() != nullptr) context->events()->OnToolbarButtonClicked(index);
    });
    return action;
  }

  // Only the disabled bit shows: the program's buttons are never toggled, and a checkable
  // QAction would flip its own state on a click, behind the model's back.
  static void ApplyState(QAction* action, int state) {
    action->setEnabled(!(state & ui::kToolbarDisabled));
  }

  std::vector<QAction*> actions_;  // by entry index; null for separators
  Docking* docking_;
};

}  // namespace

std::unique_ptr<ui::ControlPeer> CreateToolbar(const ui::ControlSpec& description,
                                               ui::ControlEvents* events, QWidget* parent) {
  return std::make_unique<ToolbarPeer>(new QToolBar(parent), description, events);
}

}  // namespace sr::qt
