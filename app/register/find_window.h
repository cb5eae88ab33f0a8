#ifndef SALARY_APP_REGISTER_FIND_WINDOW_H_
#define SALARY_APP_REGISTER_FIND_WINDOW_H_

#include "forms/framework.h"
#include "forms/grid/grid.h"

namespace sr::app {

// Searches the person rows of the register grid for a cell containing `sought`, cell by cell
// from the one after the cursor, row by row, wrapping once to the cursor cell itself (from row 1
// when there is no cursor). Moves the cursor there (which scrolls it into view) and returns
// true; false when nothing matches or `sought` is empty.
bool FindInRegister(Grid& grid, const Text& sought);

// Shows the find window over the main window; its button searches the register grid and tells
// the user when nothing matches. Returns when the window is closed.
void ShowFindWindow(forms::Framework& framework, Grid& register_grid);

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_FIND_WINDOW_H_
