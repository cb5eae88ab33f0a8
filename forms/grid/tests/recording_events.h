#ifndef SALARY_FORMS_GRID_TESTS_RECORDING_EVENTS_H_
#define SALARY_FORMS_GRID_TESTS_RECORDING_EVENTS_H_

#include <functional>
#include <string>
#include <vector>

#include "forms/grid/grid.h"

namespace sr {

// Records every event a grid raises, in order, as short words with their arguments; a test may
// hook a callback onto an event to call back into the grid. CellsEdited goes to `edited` alone,
// so that the logs of the form's events stay as the form lists them.
class RecordingEvents : public GridEvents {
 public:
  void CursorMoved() override { Log("CursorMoved", on_cursor_moved); }
  bool MayBeginEdit() override {
    log.push_back("MayBeginEdit");
    return allow_edit;
  }
  void EditBegins() override { Log("EditBegins", on_edit_begins); }
  void EditEnds() override { Log("EditEnds", on_edit_ends); }
  void CellsEdited(const CellRange& range) override { edited.push_back(range); }
  void Clicked(int x, int y) override { Log(Args("Clicked", x, y)); }
  void TitleCellClicked(int r, int c) override { Log(Args("TitleCellClicked", r, c)); }
  void TitleCellDoubleClicked(int r, int c) override {
    Log(Args("TitleCellDoubleClicked", r, c));
  }
  void RightButtonDown(int x, int y, int m) override { Log(Args("RightButtonDown", x, y, m)); }
  void DoubleClick(int x, int y, int m) override { Log(Args("DoubleClick", x, y, m)); }
  void KeyDown(int key, int m) override { Log(Args("KeyDown", key, m)); }

  // The log since the last call, emptied.
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(log);
    return out;
  }

  std::vector<std::string> log;
  std::vector<CellRange> edited;
  bool allow_edit = true;
  std::function<void()> on_cursor_moved;
  std::function<void()> on_edit_begins;
  std::function<void()> on_edit_ends;

 private:
  static std::string Args(const char* name, int a, int b, int c = -99) {
    std::string s = std::string(name) + " " + std::to_string(a) + "," + std::to_string(b);
    if (c != -99) s += "," + std::to_string(c);
    return s;
  }
  void Log(const std::string& entry, const std::function<void()>& hook = nullptr) {
    log.push_back(entry);
    if (hook) hook();
  }
};

}  // namespace sr

#endif  // SALARY_FORMS_GRID_TESTS_RECORDING_EVENTS_H_
