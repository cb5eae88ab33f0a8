#ifndef SALARY_PLATFORM_QT_PRINT_PRINT_STATUS_DIALOG_H_
#define SALARY_PLATFORM_QT_PRINT_PRINT_STATUS_DIALOG_H_

#include <QDialog>
#include <functional>

#include "platform/print/print_seam.h"

class QLabel;
class QPushButton;

namespace sr::qt {

// The small window shown while a job prints: job, device and page lines and a Cancel button.
// It is not modal; the printout keeps the event loop turning between lines.
class PrintStatusDialog : public QDialog {
 public:
  // `on_cancel` runs when the user presses Cancel (or closes the window).
  PrintStatusDialog(const print::StatusTexts& texts, std::function<void()> on_cancel,
                    QWidget* parent = nullptr);

  QPushButton* cancel_button() const { return cancel_; }
  // The page line, GBK.
  void SetPageLine(const Text& page_line);
  QString page_line() const;

 protected:
  void reject() override;

 private:
  std::function<void()> on_cancel_;
  QPushButton* cancel_;
  QLabel* page_ = nullptr;
};

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_PRINT_PRINT_STATUS_DIALOG_H_
