#ifndef SALARY_PLATFORM_QT_UI_FOCUS_TRACKER_H_
#define SALARY_PLATFORM_QT_UI_FOCUS_TRACKER_H_

#include <QHash>
#include <QObject>

class QWidget;

namespace sr::qt {

class InputReporter;

// Reports the keyboard focus to the control models, one control at a time, in the order the
// headless backend does: the control that loses it first, then the one that gets it. A control
// has the focus while Qt's focus widget is its widget or a widget inside it (the grid's cell
// editor belongs to the grid), and not while a menu is open over it, nor while another window
// (a secondary window, a message box, a file dialog) is active.
class FocusTracker : public QObject {
 public:
  // The one tracker, watching the application's focus events from its first use on.
  static FocusTracker& Instance();

  // `root` is a control's widget, reported through `reporter` until it is removed.
  void Add(QWidget* root, InputReporter* reporter);
  // Forgets a control that is going away, without reporting anything for it.
  void Remove(QWidget* root);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  FocusTracker();
  InputReporter* OwnerOf(QWidget* widget) const;
  void MoveTo(InputReporter* owner);

  QHash<QWidget*, InputReporter*> roots_;
  InputReporter* current_ = nullptr;  // the control reported as having the focus
};

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_FOCUS_TRACKER_H_
