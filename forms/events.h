#ifndef SALARY_FORMS_EVENTS_H_
#define SALARY_FORMS_EVENTS_H_

#include <functional>

#include "base/value.h"
#include "platform/ui/peer.h"

namespace sr::forms {

// Event numbers. Generic events (below 0) are the same for every control and are numbered as
// ui::Input numbers them, with its arguments; each control type numbers its own events from 0.
constexpr int GenericEvent(ui::Input input) { return static_cast<int>(input); }

enum WindowEvent : int {
  kWindowCreated = 0,
  kWindowCloseQuery = 1,
  kWindowDestroyed = 2,
  kWindowSizeChanged = 4,
};

enum ButtonEvent : int { kButtonClicked = 0 };
enum EditBoxEvent : int { kEditBoxChanged = 0 };
enum ToolbarEvent : int { kToolbarButtonClicked = 0 };  // a = the button's index

// The grid's own events, in the order of the grid's event list.
enum GridEvent : int {
  kGridCursorMoved = 0,
  kGridEditBegins = 2,
  kGridEditEnds = 3,
  kGridClicked = 4,           // a = x, b = y
  kGridTitleCellClicked = 5,  // a = row, b = column
  kGridTitleCellDoubleClicked = 6,
  // Not in the form's list: the grid's own editing (the editor, paste, cut, the Delete key)
  // changed cells. a, b = first row and column, c, d = last row and column of their range.
  kGridCellsEdited = 8,
  // Not in the form's list: a character was typed while the grid is not editable.
  kGridTypingRefused = 9,
};

// The arguments of an event, in the order of the event's argument list.
struct EventArgs {
  int a = 0;
  int b = 0;
  int c = 0;
  int d = 0;
};

using Handler = std::function<void(const EventArgs&)>;
// The handler of a question to the program, such as a window's close query: false refuses.
using QueryHandler = std::function<bool(const EventArgs&)>;

}  // namespace sr::forms

#endif  // SALARY_FORMS_EVENTS_H_
