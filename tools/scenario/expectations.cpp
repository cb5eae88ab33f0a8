// The built-in expectations: what the screen shows, read from the headless peers (what a user
// would see), and grid cells, read from what the grid's peer draws.
#include <string>

#include "base/gbk.h"
#include "tools/scenario/captions.h"
#include "tools/scenario/runner.h"

namespace sr::scenario {

namespace {

using headless::HeadlessControl;
using headless::HeadlessWindow;
using headless::ScreenEvent;

Text YesNo(bool value) { return value ? "yes" : "no"; }

HeadlessControl& Control(Runner& runner, const Text& name) {
  for (HeadlessControl* control : runner.ActiveWindow().controls()) {
    if (control->name() == name) return *control;
  }
  throw Failure("no control \"" + ToUtf8(name) + "\" in the active window");
}

int MenuIndex(HeadlessWindow& window, const Text& bar, const Text& entry) {
  int index = FindMenuEntry(window.state().menu, bar, entry);
  if (index < 0) throw Failure("no such menu entry");
  return index;
}

void ExpectEnabled(Runner& runner, const Line& line) {
  const Text& target = Runner::Arg(line, 2);
  HeadlessWindow& window = runner.ActiveWindow();
  if (target == "menu") {
    int index = MenuIndex(window, Runner::Arg(line, 3), Runner::Arg(line, 4));
    Runner::ExpectEqual("menu entry enabled", Runner::Arg(line, 5),
                        YesNo(!window.state().menu[index].disabled));
  } else if (target == "toolbar") {
    int index = Runner::IntArg(line, 3);
    for (HeadlessControl* control : window.controls()) {
      if (control->kind() != ui::ControlKind::kToolbar) continue;
      const auto& entries = control->state().toolbar_entries;
      if (index < 0 || index >= static_cast<int>(entries.size()) || entries[index].separator) {
        throw Failure("no toolbar button " + std::to_string(index));
      }
      Runner::ExpectEqual("toolbar button enabled", Runner::Arg(line, 4),
                          YesNo((entries[index].state & ui::kToolbarDisabled) == 0));
      return;
    }
    throw Failure("the active window has no toolbar");
  } else if (target == "window" && line.words.size() > 4) {  // another window, by name or caption
    HeadlessWindow* other = runner.backend().FindWindow(Runner::Arg(line, 3));
    if (other == nullptr) throw Failure("no such window is open");
    Runner::ExpectEqual("window enabled", Runner::Arg(line, 4), YesNo(other->enabled()));
  } else if (target == "window") {
    Runner::ExpectEqual("window enabled", Runner::Arg(line, 3), YesNo(window.enabled()));
  } else {
    Runner::ExpectEqual("enabled", Runner::Arg(line, 3),
                        YesNo(Control(runner, target).state().enabled));
  }
}

std::vector<const ScreenEvent*> MessageBoxes(Runner& runner) {
  std::vector<const ScreenEvent*> boxes;
  for (const ScreenEvent& e : runner.backend().screen_log()) {
    if (e.kind == ScreenEvent::Kind::kMessageBox) boxes.push_back(&e);
  }
  return boxes;
}

}  // namespace

void Runner::AddBuiltInExpectations() {
  AddExpectation("title", [](Runner& r, const Line& line) {
    ExpectEqual("title", Arg(line, 2), r.ActiveWindow().caption());
  });
  // The captions a window has had since it was created, in order, the last one included.
  AddExpectation("captions", [](Runner& r, const Line& line) {
    Text expected;
    for (size_t i = 3; i < line.words.size(); ++i) expected += "[" + line.words[i] + "]";
    Text actual;
    for (const ScreenEvent& e : r.backend().screen_log()) {
      if (e.name != Arg(line, 2)) continue;
      if (e.kind == ScreenEvent::Kind::kWindowCreated) actual.clear();
      if (e.kind == ScreenEvent::Kind::kWindowCreated || e.kind == ScreenEvent::Kind::kCaption) {
        actual += "[" + e.text + "]";
      }
    }
    ExpectEqual("captions", expected, actual);
  });
  AddExpectation("window", [](Runner& r, const Line& line) {
    if (r.backend().FindWindow(Arg(line, 2)) == nullptr) throw Failure("no such window is open");
  });
  AddExpectation("no-window", [](Runner& r, const Line& line) {
    if (r.backend().FindWindow(Arg(line, 2)) != nullptr) throw Failure("the window is open");
  });
  AddExpectation("cell", [](Runner& r, const Line& line) {
    const ui::GridSource& grid = r.ActiveGrid().source();
    const int row = IntArg(line, 2);
    const int column = IntArg(line, 3);
    if (!grid.CellExists(row, column)) throw Failure("the grid has no such cell");
    ExpectEqual("cell", Arg(line, 4), grid.CellText(row, column));
  });
  AddExpectation("rows", [](Runner& r, const Line& line) {
    ExpectEqual("row count", Arg(line, 2), std::to_string(r.ActiveGrid().source().RowCount()));
  });
  AddExpectation("text", [](Runner& r, const Line& line) {
    ExpectEqual("text", Arg(line, 3), Control(r, Arg(line, 2)).state().text);
  });
  AddExpectation("enabled", ExpectEnabled);
  AddExpectation("visible", [](Runner& r, const Line& line) {
    ExpectEqual("visible", Arg(line, 3), YesNo(Control(r, Arg(line, 2)).shown()));
  });
  AddExpectation("size", [](Runner& r, const Line& line) {
    const Text& name = Arg(line, 2);
    ui::Rect rect =
        name == "window" ? r.ActiveWindow().state().rect : Control(r, name).state().rect;
    ExpectEqual("size", Arg(line, 3) + " x " + Arg(line, 4),
                std::to_string(rect.width) + " x " + std::to_string(rect.height));
  });
  AddExpectation("left", [](Runner& r, const Line& line) {
    ExpectEqual("left", Arg(line, 3), std::to_string(Control(r, Arg(line, 2)).state().rect.left));
  });
  AddExpectation("focus", [](Runner& r, const Line& line) {
    HeadlessControl* focus = r.ActiveWindow().focus();
    ExpectEqual("focus", Arg(line, 2), focus != nullptr ? focus->name() : Text());
  });
  AddExpectation("cursor", [](Runner& r, const Line& line) {
    const ui::GridSource& grid = r.ActiveGrid().source();
    ExpectEqual("cursor", Arg(line, 2) + " " + Arg(line, 3),
                std::to_string(grid.GetCursorRow()) + " " + std::to_string(grid.GetCursorColumn()));
  });
  AddExpectation("progress", [](Runner& r, const Line& line) {
    ExpectEqual("progress", Arg(line, 3),
                std::to_string(Control(r, Arg(line, 2)).state().progress_position));
  });
  AddExpectation("message", [](Runner& r, const Line& line) {
    auto boxes = MessageBoxes(r);
    if (r.messages_checked_ >= boxes.size()) throw Failure("no message box was shown");
    const ScreenEvent& box = *boxes[r.messages_checked_++];
    ExpectEqual("message text", Arg(line, 2), box.text);
    if (line.words.size() > 3) ExpectEqual("message title", Arg(line, 3), box.title);
    if (line.words.size() > 4) {
      ExpectEqual("message buttons", Arg(line, 4), ButtonsName(box.message.buttons));
    }
    if (line.words.size() > 5)
      ExpectEqual("message icon", Arg(line, 5), IconName(box.message.icon));
  });
  // For a message that names a file by its full path: each given piece must be in its text.
  AddExpectation("message-with", [](Runner& r, const Line& line) {
    auto boxes = MessageBoxes(r);
    if (r.messages_checked_ >= boxes.size()) throw Failure("no message box was shown");
    const ScreenEvent& box = *boxes[r.messages_checked_++];
    for (size_t i = 2; i < line.words.size(); ++i) {
      if (box.text.find(Arg(line, i)) == Text::npos) {
        throw Failure("the message \"" + ToUtf8(box.text) + "\" does not say \"" +
                      ToUtf8(Arg(line, i)) + "\"");
      }
    }
  });
  AddExpectation("no-message", [](Runner& r, const Line& line) {
    auto boxes = MessageBoxes(r);
    if (r.messages_checked_ < boxes.size()) {
      throw Failure("a message box was shown: \"" + ToUtf8(boxes[r.messages_checked_]->text) +
                    "\"");
    }
  });
  AddExpectation("exit", [](Runner& r, const Line& line) {
    if (!r.backend().quit()) throw Failure("the program is still running");
    ExpectEqual("exit code", Arg(line, 2), std::to_string(r.backend().exit_code()));
  });
  AddExpectation("running", [](Runner& r, const Line& line) {
    if (r.backend().quit()) throw Failure("the program has ended");
  });
}

}  // namespace sr::scenario
