#ifndef SALARY_FORMS_GRID_GRID_TYPES_H_
#define SALARY_FORMS_GRID_GRID_TYPES_H_

#include "platform/ui/grid_peer.h"

namespace sr {

// The cell rectangle and the alignment that the grid shares with its peers.
using ui::Alignment;
using ui::CellRange;

// What the Enter key does.
enum EnterMove : int { kEnterStays = 0, kEnterMovesRight = 1, kEnterMovesDown = 2 };

// The initial configuration of a grid, taken from its form definition.
struct GridConfig {
  int row_count = 1;
  int column_count = 1;
  int title_row_count = 1;
  int title_column_count = 0;
  bool editable = false;
  int default_row_height = 20;
  int default_column_width = 80;
  int enter_moves = kEnterStays;
  bool row_select = false;
};

// The four grids of the program's forms.
inline GridConfig RegisterGridConfig() { return {1, 22, 1, 0, false, 20, 80, 1, false}; }
inline GridConfig TaxTableGridConfig() { return {14, 9, 1, 1, true, 26, 60, 0, false}; }
inline GridConfig ItemGridConfig() { return {16, 2, 1, 1, false, 20, 120, 0, false}; }
inline GridConfig SummaryGridConfig() { return {20, 3, 1, 0, false, 20, 40, 0, false}; }

}  // namespace sr

#endif  // SALARY_FORMS_GRID_GRID_TYPES_H_
