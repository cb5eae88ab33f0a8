#ifndef SALARY_FORMS_GRID_CONTROL_H_
#define SALARY_FORMS_GRID_CONTROL_H_

#include "forms/control.h"
#include "forms/grid/grid.h"

namespace sr::forms {

// The grid as a control of a form: it owns the grid model, hands it to the peer as the peer's
// source and input (ui::GridSource, ui::GridInput), and turns the model's events into the
// control's events (kGrid... own events, and the generic kRightButtonDown, kDoubleClick and
// kKeyDown, which the model raises from the input its peer reports).
class GridControl : public Control, private GridEvents {
 public:
  GridControl(Text name, ui::Rect rect, const GridConfig& config);
  ~GridControl() override;

  Grid& grid() { return grid_; }
  const Grid& grid() const { return grid_; }

  // Generic input other than double-click, right button down and key down (which come from the
  // model). The peer reports the focus loss that closes the editor to the model itself.
  void OnInput(ui::Input input, int a, int b, int c) override;
  void PeerCreated(ui::Backend& backend) override;

 protected:
  void FillSpec(ui::ControlSpec* description) const override;

 private:
  // GridEvents
  void CursorMoved() override;
  void EditBegins() override;
  void TypingRefused() override;
  void EditEnds() override;
  void CellsEdited(const CellRange& range) override;
  void Clicked(int x, int y) override;
  void TitleCellClicked(int row, int column) override;
  void TitleCellDoubleClicked(int row, int column) override;
  void RightButtonDown(int x, int y, int modifiers) override;
  void DoubleClick(int x, int y, int modifiers) override;
  void KeyDown(int key, int modifiers) override;

  Grid grid_;
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_GRID_CONTROL_H_
