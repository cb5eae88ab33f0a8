#include "tools/scenario/runner.h"

#include <cctype>
#include <cstdlib>
#include <utility>

#include "app/shell/program.h"
#include "base/gbk.h"
#include "tools/scenario/captions.h"

namespace sr::scenario {

namespace {

using headless::HeadlessControl;
using headless::HeadlessGrid;
using headless::HeadlessWindow;
using headless::ScreenEvent;

std::string U(const Text& gbk) { return ToUtf8(gbk); }
std::string Quote(const Text& gbk) {
  std::string out = "\"";
  for (char c : U(gbk)) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

int ParseInt(const Text& word) {
  char* end = nullptr;
  long value = std::strtol(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0') throw Failure("expected a number, got " + Quote(word));
  return static_cast<int>(value);
}

ui::KeyChord ParseKey(const Text& text) {
  ui::KeyChord chord;
  Text rest = text;
  for (;;) {
    size_t plus = rest.find('+');
    if (plus == Text::npos || plus + 1 == rest.size()) break;
    Text modifier = rest.substr(0, plus);
    if (modifier == "Ctrl") {
      chord.modifiers |= ui::kCtrl;
    } else if (modifier == "Shift") {
      chord.modifiers |= ui::kShift;
    } else if (modifier == "Alt") {
      chord.modifiers |= ui::kAlt;
    } else {
      throw Failure("unknown modifier " + Quote(modifier));
    }
    rest = rest.substr(plus + 1);
  }
  static const std::map<std::string, int> kNames = {
      {"Delete", ui::kVkDelete},     {"Enter", ui::kVkReturn}, {"Escape", ui::kVkEscape},
      {"Tab", ui::kVkTab},           {"Up", ui::kVkUp},        {"Down", ui::kVkDown},
      {"Left", ui::kVkLeft},         {"Right", ui::kVkRight},  {"PageUp", ui::kVkPageUp},
      {"PageDown", ui::kVkPageDown}, {"Home", ui::kVkHome},    {"End", ui::kVkEnd},
      {"Insert", ui::kVkInsert},     {"Space", ui::kVkSpace},  {"Backspace", ui::kVkBack},
  };
  if (auto it = kNames.find(rest); it != kNames.end()) {
    chord.key = it->second;
  } else if (rest.size() >= 2 && rest[0] == 'F' &&
             std::isdigit(static_cast<unsigned char>(rest[1]))) {
    chord.key = ui::kVkF1 + ParseInt(rest.substr(1)) - 1;
  } else if (rest.size() == 1 && std::isalnum(static_cast<unsigned char>(rest[0]))) {
    chord.key = std::toupper(static_cast<unsigned char>(rest[0]));
  } else {
    throw Failure("unknown key " + Quote(rest));
  }
  return chord;
}

ui::MessageAnswer ParseAnswer(const Text& word) {
  if (word == "yes") return ui::MessageAnswer::kYes;
  if (word == "no") return ui::MessageAnswer::kNo;
  if (word == "ok") return ui::MessageAnswer::kOk;
  if (word == "cancel") return ui::MessageAnswer::kCancel;
  throw Failure("unknown answer " + Quote(word));
}

const char* AnswerName(ui::MessageAnswer answer) {
  switch (answer) {
    case ui::MessageAnswer::kOk:
      return "ok";
    case ui::MessageAnswer::kCancel:
      return "cancel";
    case ui::MessageAnswer::kYes:
      return "yes";
    case ui::MessageAnswer::kNo:
      return "no";
  }
  return "?";
}

}  // namespace

const char* ButtonsName(ui::MessageButtons buttons) {
  switch (buttons) {
    case ui::MessageButtons::kOk:
      return "ok";
    case ui::MessageButtons::kOkCancel:
      return "ok-cancel";
    case ui::MessageButtons::kYesNo:
      return "yes-no";
    case ui::MessageButtons::kYesNoCancel:
      return "yes-no-cancel";
  }
  return "?";
}

const char* IconName(ui::MessageIcon icon) {
  switch (icon) {
    case ui::MessageIcon::kNone:
      return "none";
    case ui::MessageIcon::kInformation:
      return "information";
    case ui::MessageIcon::kWarning:
      return "warning";
    case ui::MessageIcon::kError:
      return "error";
    case ui::MessageIcon::kQuestion:
      return "question";
  }
  return "?";
}

Runner::Runner(fs::FileSystem& file_system, std::ostream& transcript)
    : file_system_(file_system), out_(transcript) {
  AddBuiltInExpectations();
  AddRecordExpectations(*this);
  AddFileLines(*this);
  AddTaxLines(*this);
  AddPrintLines(*this);
}

void Runner::AddExpectation(const std::string& word, Check check) {
  checks_[word] = std::move(check);
}

void Runner::AddAction(const std::string& word, Check act) { actions_[word] = std::move(act); }

int Runner::Run(const std::vector<Line>& lines) {
  backend_.SetMainLoopDriver([&] {
    out_ << "(start-up)\n";
    ReportScreen();
    RunLines(lines);
  });
  try {
    app::Seams seams{backend_, file_system_, printer_, automation_, *workbooks_};
    int code = app::RunProgram(seams);
    ReportScreen();
    out_ << (backend_.quit() ? "program ended with exit code " + std::to_string(code)
                             : std::string("script done, program still running"))
         << "\n";
    return 0;
  } catch (const Failure& failure) {
    ReportScreen();
    out_ << "FAILED " << failure.what() << "\n";
  } catch (const headless::ScriptError& error) {
    ReportScreen();
    out_ << "FAILED the script did not say what to do: " << error.what() << "\n";
  }
  return 1;
}

void Runner::RunLines(const std::vector<Line>& lines) {
  for (const Line& line : lines) RunLine(line);
}

void Runner::RunLine(const Line& line) {
  ReportScreen();  // what happened before this line, e.g. a modal window that opened
  out_ << "> " << line.source << "\n";
  try {
    if (line.words[0] == "expect") {
      Expect(line);
      ReportScreen();
      out_ << "  ok\n";
    } else {
      if (backend_.quit()) throw Failure("the program has ended");
      try {
        Act(line);
      } catch (const headless::Terminated&) {
        // The program ended on a fatal error; what follows may still check how it ended.
      }
      ReportScreen();
    }
  } catch (const Failure& failure) {
    throw Failure("line " + std::to_string(line.number) + ": " + failure.what());
  }
}

HeadlessWindow& Runner::ActiveWindow() {
  HeadlessWindow* window = backend_.active_window();
  if (window == nullptr) throw Failure("no window takes input");
  return *window;
}

HeadlessGrid& Runner::ActiveGrid() {
  for (HeadlessControl* control : ActiveWindow().controls()) {
    if (HeadlessGrid* grid = HeadlessGrid::Of(control)) return *grid;
  }
  throw Failure("the active window has no grid");
}

const Text& Runner::Arg(const Line& line, size_t index) {
  if (index >= line.words.size()) throw Failure("missing argument " + std::to_string(index));
  return line.words[index];
}

int Runner::IntArg(const Line& line, size_t index) { return ParseInt(Arg(line, index)); }

int Runner::Int(const Text& word) { return ParseInt(word); }

void Runner::ExpectEqual(const std::string& what, const Text& expected, const Text& actual) {
  if (expected != actual) {
    throw Failure(what + ": expected " + Quote(expected) + ", got " + Quote(actual));
  }
}

namespace {

HeadlessControl& FindControl(HeadlessWindow& window, const Text& name) {
  for (HeadlessControl* control : window.controls()) {
    if (control->name() == name) return *control;
  }
  for (HeadlessControl* control : window.controls()) {
    if (control->kind() == ui::ControlKind::kButton && SameCaption(control->state().text, name)) {
      return *control;
    }
  }
  throw Failure("no control " + Quote(name) + " in window " + Quote(window.caption()));
}

// The keys that an open editor (an edit box, or a grid's cell editor) keeps for itself, as Qt's
// line edit does, even where a menu entry has them as its shortcut: Ctrl+A, Ctrl+C and Ctrl+V
// select, copy and paste inside the cell being edited, not in the grid.
bool EditorKeepsKey(const ui::KeyChord& chord) {
  const int key = chord.key;
  const bool caret =
      key == ui::kVkLeft || key == ui::kVkRight || key == ui::kVkHome || key == ui::kVkEnd;
  switch (chord.modifiers) {
    case 0:
      return caret || key == ui::kVkDelete || key == ui::kVkBack;
    case ui::kShift:
      return caret || key == ui::kVkDelete || key == ui::kVkInsert;
    case ui::kCtrl:
      return key == 'A' || key == 'C' || key == 'V' || key == 'X' || key == 'Z' || key == 'Y' ||
             key == ui::kVkInsert || key == ui::kVkLeft || key == ui::kVkRight;
    default:
      return false;
  }
}

// True when `focus` is an open editor, whose text is then put in *text.
bool IsOpenEditor(HeadlessControl* focus, Text* text) {
  if (focus == nullptr) return false;
  if (focus->kind() == ui::ControlKind::kEditBox) {
    *text = focus->state().text;
    return true;
  }
  HeadlessGrid* grid = HeadlessGrid::Of(focus);
  if (grid == nullptr || !grid->source().Editing()) return false;
  *text = grid->source().EditorText();
  return true;
}

// What an open editor does with a key it keeps. The headless editor has no caret or selection:
// the caret stays at the end, where typing leaves it, so Backspace takes the last character and
// a paste appends the clipboard's text; the other keys change nothing that a script could see.
void EditInEditor(headless::HeadlessBackend& backend, HeadlessControl* focus,
                  const ui::KeyChord& chord, Text text) {
  const bool paste = (chord.key == 'V' && chord.modifiers == ui::kCtrl) ||
                     (chord.key == ui::kVkInsert && chord.modifiers == ui::kShift);
  Text clip;
  if (paste && backend.clipboard().GetText(&clip)) {
    text += clip;
  } else if (chord.key == ui::kVkBack && chord.modifiers == 0 && !text.empty()) {
    size_t last = 0;
    for (size_t i = 0; i < text.size(); i = NextCharOffset(text, i)) last = i;
    text.erase(last);
  } else {
    return;
  }
  if (HeadlessGrid* grid = HeadlessGrid::Of(focus)) {
    grid->EditText(text);
  } else {
    focus->SetText(text);
    focus->events()->OnTextEdited(text);
  }
}

void DeliverKey(headless::HeadlessBackend& backend, const ui::KeyChord& chord) {
  HeadlessWindow* window = backend.active_window();
  HeadlessControl* focused = window != nullptr ? window->focus() : nullptr;
  Text editor_text;
  if (IsOpenEditor(focused, &editor_text) && EditorKeepsKey(chord)) {
    EditInEditor(backend, focused, chord, editor_text);
    return;
  }
  HeadlessControl* focus = backend.PressKey(chord.key, chord.modifiers);
  if (focus == nullptr) return;
  if (HeadlessGrid* grid = HeadlessGrid::Of(focus)) {
    grid->PressKey(chord.key, chord.modifiers);
  } else {
    focus->events()->OnInput(ui::Input::kKeyDown, chord.key, chord.modifiers, 0);
    // The key may have closed the window (Enter pressing its default button).
    HeadlessWindow* still = backend.active_window();
    if (still == nullptr || still->focus() != focus) return;
    focus->events()->OnInput(ui::Input::kKeyUp, chord.key, chord.modifiers, 0);
  }
}

// Types character by character into whatever has the focus at that moment: a handler may move
// the focus or close the window while the text is typed.
void TypeText(headless::HeadlessBackend& backend, const Text& text) {
  for (size_t i = 0; i < text.size(); i = NextCharOffset(text, i)) {
    HeadlessWindow* window = backend.active_window();
    HeadlessControl* focus = window != nullptr ? window->focus() : nullptr;
    if (focus == nullptr) throw Failure("nothing has the keyboard focus");
    Text character = text.substr(i, NextCharOffset(text, i) - i);
    if (HeadlessGrid* grid = HeadlessGrid::Of(focus)) {
      grid->Type(character);
    } else if (focus->kind() == ui::ControlKind::kEditBox) {
      Text now = focus->state().text + character;
      focus->SetText(now);
      focus->events()->OnTextEdited(now);
    } else {
      throw Failure("the focused control takes no typing");
    }
  }
}

// A mouse action on a cell of the active window's grid, as the grid's view reports it.
void MouseOnCell(HeadlessGrid& grid, const std::string& action, int row, int column) {
  if (!grid.source().CellExists(row, column)) throw Failure("the grid has no such cell");
  if (action == "right-click") {
    grid.RightClick(row, column);
  } else if (action == "double-click") {
    grid.DoubleClick(row, column);
  } else {
    grid.Click(row, column);
  }
}

}  // namespace

void Runner::Act(const Line& line) {
  const Text& verb = line.words[0];
  if (verb == "menu") {
    HeadlessWindow& window = ActiveWindow();
    int index = FindMenuEntry(window.state().menu, Arg(line, 1), Arg(line, 2));
    if (index < 0) throw Failure("no such menu entry");
    backend_.ChooseFromMenuBar(index);  // a disabled entry cannot be chosen
  } else if (verb == "toolbar") {
    HeadlessWindow& window = ActiveWindow();
    for (HeadlessControl* control : window.controls()) {
      if (control->kind() != ui::ControlKind::kToolbar) continue;
      const auto& entries = control->state().toolbar_entries;
      for (size_t i = 0; i < entries.size(); ++i) {
        bool named = std::to_string(i) == Arg(line, 1) ||
                     (!entries[i].separator && entries[i].caption == Arg(line, 1));
        if (!named) continue;
        // A disabled button does not take the click.
        if ((entries[i].state & ui::kToolbarDisabled) == 0) {
          control->events()->OnToolbarButtonClicked(static_cast<int>(i));
        }
        return;
      }
      throw Failure("no such toolbar entry");
    }
    throw Failure("the active window has no toolbar");
  } else if (verb == "key") {
    DeliverKey(backend_, ParseKey(Arg(line, 1)));
  } else if (verb == "type") {
    TypeText(backend_, Arg(line, 1));
  } else if (verb == "click" || verb == "double-click" || verb == "right-click") {
    MouseOnCell(ActiveGrid(), verb, IntArg(line, 1), IntArg(line, 2));
  } else if (verb == "enter") {  // typing into a cell: click it, type, press Enter
    MouseOnCell(ActiveGrid(), "click", IntArg(line, 1), IntArg(line, 2));
    TypeText(backend_, Arg(line, 3));
    DeliverKey(backend_, {ui::kVkReturn, 0});
  } else if (verb == "press") {
    HeadlessControl& button = FindControl(ActiveWindow(), Arg(line, 1));
    if (button.state().enabled) button.events()->OnClicked();
  } else if (verb == "edit") {
    HeadlessControl& box = FindControl(ActiveWindow(), Arg(line, 1));
    box.SetFocus();
    box.SetText(Arg(line, 2));
    box.events()->OnTextEdited(Arg(line, 2));
  } else if (verb == "focus") {
    FindControl(ActiveWindow(), Arg(line, 1)).SetFocus();
  } else if (verb == "resize") {
    ActiveWindow().ResizeByUser(IntArg(line, 1), IntArg(line, 2));
  } else if (verb == "close") {
    ActiveWindow().events()->OnCloseRequested();
  } else if (verb == "answer") {
    backend_.QueueAnswer(ParseAnswer(Arg(line, 1)));
  } else if (verb == "answer-always") {
    backend_.AnswerAlways(Arg(line, 1), ParseAnswer(Arg(line, 2)));
  } else if (verb == "choose-file") {
    backend_.QueueFileDialog({true, Arg(line, 1)});
  } else if (verb == "cancel-file") {
    backend_.QueueFileDialog({false, Text()});
  } else if (verb == "popup") {
    int index = -1;
    if (Arg(line, 1) != "dismiss") {
      index = FindMenuEntry(ActiveWindow().state().menu, Arg(line, 1), Arg(line, 2));
      if (index < 0) throw Failure("no such menu entry");
    }
    backend_.QueuePopupChoice(index);
  } else if (verb == "modal") {
    backend_.QueueModalScript([this, &line] { RunLines(line.block); });
  } else if (auto it = actions_.find(verb); it != actions_.end()) {
    it->second(*this, line);
  } else {
    throw Failure("unknown action " + Quote(verb));
  }
}

void Runner::Expect(const Line& line) {
  const Text& what = Arg(line, 1);
  auto it = checks_.find(what);
  if (it == checks_.end()) throw Failure("unknown expectation " + Quote(what));
  it->second(*this, line);
}

void Runner::ReportScreen() {
  const auto& log = backend_.screen_log();
  for (; reported_ < log.size(); ++reported_) {
    const ScreenEvent& e = log[reported_];
    switch (e.kind) {
      case ScreenEvent::Kind::kWindowCreated:
        out_ << "  window created: " << Quote(e.text) << "\n";
        break;
      case ScreenEvent::Kind::kWindowShown:
        out_ << "  window shown: " << Quote(e.text) << "\n";
        break;
      case ScreenEvent::Kind::kWindowClosed:
        out_ << "  window closed: " << Quote(e.text) << "\n";
        break;
      case ScreenEvent::Kind::kCaption:
        out_ << "  caption: " << Quote(e.text) << "\n";
        break;
      case ScreenEvent::Kind::kMessageBox:
        out_ << "  message box " << Quote(e.title) << ": " << Quote(e.text) << " ["
             << ButtonsName(e.message.buttons) << ", icon " << IconName(e.message.icon) << "] -> "
             << AnswerName(e.answer) << (e.scripted ? "" : " (not scripted)") << "\n";
        break;
      case ScreenEvent::Kind::kFileDialog:
        out_ << "  file dialog "
             << (e.file_dialog.kind == ui::FileDialogKind::kOpen ? "open" : "save") << " in "
             << Quote(e.file_dialog.initial_directory) << " -> "
             << (e.file_result.confirmed ? Quote(e.file_result.path) : std::string("cancelled"))
             << "\n";
        break;
      case ScreenEvent::Kind::kMenuOpened:
        out_ << "  menu opened: " << Quote(e.text) << "\n";
        break;
      case ScreenEvent::Kind::kPopupMenu:
        out_ << "  shortcut menu " << e.entry << " -> "
             << (e.chosen < 0 ? std::string("dismissed") : std::to_string(e.chosen)) << "\n";
        break;
      case ScreenEvent::Kind::kQuit:
        out_ << "  program quits with exit code " << e.exit_code << "\n";
        break;
      case ScreenEvent::Kind::kTerminated:
        out_ << "  program terminated with exit code " << e.exit_code << "\n";
        break;
    }
  }
}

}  // namespace sr::scenario
