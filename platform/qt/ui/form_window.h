#ifndef SALARY_PLATFORM_QT_UI_FORM_WINDOW_H_
#define SALARY_PLATFORM_QT_UI_FORM_WINDOW_H_

#include <QEventLoop>
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <vector>

#include "platform/ui/peer.h"

class QAction;

class QMenu;

namespace sr::qt {

// The native window of a form: its menu bar, and a client area below it in which the controls
// sit at their form positions (the toolbar docks at its top edge, as on the system the forms were
// drawn for). It reports its frame rectangle, close requests and menu choices to its model and
// never closes by itself.
class FormWindow : public QMainWindow {
  Q_OBJECT

 public:
  FormWindow(const ui::WindowSpec& description, ui::WindowEvents* events, QWidget* owner);

  QWidget* client() const { return client_; }
  const ui::WindowSpec& description() const { return spec_; }
  // The menu bar's actions by menu entry index (null for separators).
  QAction* MenuAction(int index) const;

  // The outer frame on the screen, as the models measure windows.
  ui::Rect FrameRect() const;
  void SetFrameRect(const ui::Rect& rect);

  // The peer is gone: no more reports.
  void Detach() { events_ = nullptr; }

  // A blocked window takes no input and cannot be closed by the user (a modal window is open
  // over it). It keeps its look: Qt's disabled state would grey out every control.
  bool blocked() const { return blocked_; }
  void SetBlocked(bool blocked) { blocked_ = blocked; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void BuildMenu();
  void ReportRect();

  ui::WindowSpec spec_;
  ui::WindowEvents* events_;
  QWidget* client_;
  std::vector<QAction*> menu_actions_;
  bool blocked_ = false;
  ui::Rect wanted_;            // the frame rectangle last set
  QSize inside_set_;          // and the size it gave the window
  bool frame_known_ = false;  // the window manager's frame has been measured
};

// The window peer: owns the FormWindow until the model destroys the peer.
class WindowPeerImpl : public ui::WindowPeer {
 public:
  WindowPeerImpl(const ui::WindowSpec& description, ui::WindowEvents* events, QWidget* owner);
  ~WindowPeerImpl() override;

  std::unique_ptr<ui::ControlPeer> CreateControl(const ui::ControlSpec& description,
                                                 ui::ControlEvents* events,
                                                 ui::ControlPeer* container) override;
  void Show() override;
  void SetRect(const ui::Rect& rect) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetCaption(const ui::Text& caption) override;
  void SetMenuEntryDisabled(int index, bool disabled) override;

  FormWindow* window() const { return window_; }

  // The nested loop that runs while this window is modal (see QtBackend::RunModalLoop).
  void set_modal_loop(QEventLoop* loop) { modal_loop_ = loop; }
  QEventLoop* modal_loop() const { return modal_loop_; }
  bool modal_ended() const { return modal_ended_; }
  void EndModal();

 private:
  QPointer<FormWindow> window_;
  QPointer<QEventLoop> modal_loop_;
  bool modal_ended_ = false;
};

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_FORM_WINDOW_H_
