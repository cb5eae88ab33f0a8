#include "app/progress_display.h"

#include "runtime/convert/conversions.h"

namespace sr::app {

void ProgressDisplay::PlaceInMiddle() {
  forms::ProgressBar& bar = form_.progress_bar();
  const int width = form_.width();
  const int height = form_.height();
  bar.SetLeft(width / 3);
  bar.SetWidth(width / 3);
  bar.SetTop(height / 2 - 20);
}

void ProgressDisplay::Rewind() { form_.progress_bar().SetPosition(1); }

void ProgressDisplay::Show() { form_.progress_bar().SetVisible(true); }

void ProgressDisplay::Hide() { form_.progress_bar().SetVisible(false); }

void ProgressDisplay::Count(int steps, int first_count) {
  steps_ = steps;
  counter_ = first_count;
}

void ProgressDisplay::Step() {
  ++counter_;
  if (counter_ - steps_ / 100.0 > kAmountTolerance) {
    forms::ProgressBar& bar = form_.progress_bar();
    bar.SetPosition(bar.position() + 1);
    counter_ = 1;
  }
}

}  // namespace sr::app
