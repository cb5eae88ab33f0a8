#ifndef SALARY_PLATFORM_QT_UI_INPUT_BLOCKER_H_
#define SALARY_PLATFORM_QT_UI_INPUT_BLOCKER_H_

#include <QObject>
#include <functional>

class QWidget;

namespace sr::qt {

class FormWindow;

// Drops the user's input to windows that are blocked while a modal window is open over them,
// and brings the modal window forward when the user clicks a blocked one. Installed on the
// application object, it sees every event before its widget does.
class InputBlocker : public QObject {
 public:
  // `top_modal` names the modal window to bring forward (null when there is none).
  explicit InputBlocker(std::function<QWidget*()> top_modal) : top_modal_(std::move(top_modal)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<QWidget*()> top_modal_;
};

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_INPUT_BLOCKER_H_
