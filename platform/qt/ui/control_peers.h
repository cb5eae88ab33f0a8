#ifndef SALARY_PLATFORM_QT_UI_CONTROL_PEERS_H_
#define SALARY_PLATFORM_QT_UI_CONTROL_PEERS_H_

#include <QPointer>
#include <QWidget>
#include <memory>

#include "platform/qt/ui/input_reporter.h"
#include "platform/ui/peer.h"

namespace sr::qt {

// What every control peer does to its widget: geometry, visibility, enabled state, focus, and
// reporting the widget's generic input. Kinds add their own text and state.
class WidgetPeer : public ui::ControlPeer {
 public:
  WidgetPeer(QWidget* widget, const ui::ControlSpec& description, ui::ControlEvents* events);
  ~WidgetPeer() override;

  void SetRect(const ui::Rect& rect) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetText(const ui::Text& text) override {}
  void SetFocus() override;

  QWidget* widget() const { return widget_; }

 protected:
  InputReporter* reporter() const { return reporter_; }

 private:
  QPointer<QWidget> widget_;
  InputReporter* reporter_;
};

// Creates the widget and peer of a label, button, edit box, progress bar or shape box as a child
// of `parent`. Toolbars and grids have peers of their own.
std::unique_ptr<ui::ControlPeer> CreateSimpleControl(const ui::ControlSpec& description,
                                                     ui::ControlEvents* events, QWidget* parent);

// A colour of the models (0xRRGGBB) for Qt.
inline QColor ToQColor(int rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_CONTROL_PEERS_H_
