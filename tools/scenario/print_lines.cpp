// Script lines about printing. The program prints to a recording printer: these lines script its
// print dialog and check the texts that reached its pages.
#include <algorithm>
#include <string>

#include "base/gbk.h"
#include "tools/scenario/runner.h"

namespace sr::scenario {

namespace {

int CountPrinted(Runner& r, const Text& text, int page) {
  const auto& texts = r.printer().texts();
  return static_cast<int>(std::count_if(texts.begin(), texts.end(), [&](const print::DrawnText& t) {
    return t.text == text && (page == 0 || t.page == page);
  }));
}

}  // namespace

void AddPrintLines(Runner& runner) {
  // "print-dialog cancel" or "print-dialog print": the answer to every later print dialog.
  runner.AddAction("print-dialog", [](Runner& r, const Line& line) {
    const Text& answer = Runner::Arg(line, 1);
    if (answer != "cancel" && answer != "print") throw Failure("print-dialog cancel|print");
    r.printer().dialog_answer =
        answer == "cancel" ? print::DialogOutcome::kCancelled : print::DialogOutcome::kToPrinter;
  });
  // Forgets what was printed so far, so that the next checks see only later printouts.
  runner.AddAction("forget-printing", [](Runner& r, const Line&) {
    const print::DialogOutcome answer = r.printer().dialog_answer;
    r.printer() = print::RecordingPrintSeam();
    r.printer().dialog_answer = answer;
  });
  // "expect printed TEXT [COUNT [PAGE]]": TEXT reached the paper (COUNT times, on PAGE).
  runner.AddExpectation("printed", [](Runner& r, const Line& line) {
    const Text& text = Runner::Arg(line, 2);
    const int page = line.words.size() > 4 ? Runner::IntArg(line, 4) : 0;
    const int count = CountPrinted(r, text, page);
    if (line.words.size() > 3) {
      const int expected = Runner::IntArg(line, 3);
      if (count != expected) {
        throw Failure("printed " + ToUtf8(text) + " " + std::to_string(count) +
                      " times, expected " + std::to_string(expected));
      }
    } else if (count == 0) {
      throw Failure("nothing printed reads " + ToUtf8(text));
    }
  });
  // "expect printed-pages N": the printouts so far filled N pages (0: nothing printed).
  runner.AddExpectation("printed-pages", [](Runner& r, const Line& line) {
    int pages = 0;
    for (const print::DrawnText& t : r.printer().texts()) pages = std::max(pages, t.page);
    if (pages != Runner::IntArg(line, 2)) {
      throw Failure("printed " + std::to_string(pages) + " pages");
    }
  });
}

}  // namespace sr::scenario
