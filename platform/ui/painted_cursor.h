#ifndef SALARY_PLATFORM_UI_PAINTED_CURSOR_H_
#define SALARY_PLATFORM_UI_PAINTED_CURSOR_H_

#include "platform/ui/grid_peer.h"

namespace sr::ui {

// Where a grid view last painted the cursor and the selection. When they move, the view
// repaints their old and new places and nothing else.
class PaintedCursor {
 public:
  // Calls `repaint(range)` for the old places, takes the new ones from `source` and calls it
  // for those.
  template <typename Repaint>
  void Move(const GridSource& source, Repaint repaint) {
    repaint(cursor_);
    repaint(selection_);
    const int r = source.GetCursorRow();
    cursor_ = r < 0 ? CellRange() : source.DisplayedRange(r, source.GetCursorColumn());
    selection_ = source.Selection();
    repaint(cursor_);
    repaint(selection_);
  }

 private:
  CellRange cursor_;
  CellRange selection_;
};

}  // namespace sr::ui

#endif  // SALARY_PLATFORM_UI_PAINTED_CURSOR_H_
