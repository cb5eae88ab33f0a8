#ifndef SALARY_PLATFORM_QT_UI_INPUT_REPORTER_H_
#define SALARY_PLATFORM_QT_UI_INPUT_REPORTER_H_

#include <QObject>

#include "platform/ui/peer.h"

namespace sr::qt {

// Watches a control's widget and reports its mouse, key, character and wheel input to the
// control's model as generic events (the FocusTracker reports its focus through it). It only
// listens: the widget still handles every event. It is also the context of the peer's signal
// connections: a handler may destroy the peer while Qt is still inside one of the widget's events,
// so the peer detaches its reporter (no more reports) and leaves the deletion to the event loop.
class InputReporter : public QObject {
 public:
  explicit InputReporter(ui::ControlEvents* events) : events_(events) {}

  void Watch(QWidget* widget);
  // The model, or null once the peer is gone.
  ui::ControlEvents* events() const { return events_; }
  void Detach() { events_ = nullptr; }
  void ReportFocus(ui::Input got_or_lost) { Report(got_or_lost); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Report(ui::Input input, int a = 0, int b = 0, int c = 0) {
    if (events_ != nullptr) events_->OnInput(input, a, b, c);
  }
  void ReportMouse(QEvent* event);
  void ReportKey(QEvent* event);

  ui::ControlEvents* events_;
};

// Deletes `object` once Qt is done with the event being handled (at once outside every loop).
void DisposeLater(QObject* object);

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_INPUT_REPORTER_H_
