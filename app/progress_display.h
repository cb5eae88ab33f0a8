#ifndef SALARY_APP_PROGRESS_DISPLAY_H_
#define SALARY_APP_PROGRESS_DISPLAY_H_

#include "forms/main_form.h"

namespace sr::app {

// The main window's progress bar while a register is read, written, calculated or exported: it
// advances about 100 times over a whole pass, never once per record.
class ProgressDisplay {
 public:
  explicit ProgressDisplay(forms::MainForm& form) : form_(form) {}

  // Places the bar in the middle of the window: left W/3, width W/3, top H/2 - 20.
  void PlaceInMiddle();
  void Rewind();  // position 1
  void Show();
  void Hide();
  // Starts counting a pass of `steps` steps; the step counter starts at `first_count`.
  void Count(int steps, int first_count);
  // One step done: the bar moves on once every steps/100 steps.
  void Step();

 private:
  forms::MainForm& form_;
  int steps_ = 0;
  int counter_ = 0;
};

}  // namespace sr::app

#endif  // SALARY_APP_PROGRESS_DISPLAY_H_
