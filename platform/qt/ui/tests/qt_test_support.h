#ifndef SALARY_PLATFORM_QT_UI_TESTS_QT_TEST_SUPPORT_H_
#define SALARY_PLATFORM_QT_UI_TESTS_QT_TEST_SUPPORT_H_

#include <QString>
#include <tuple>
#include <vector>

#include "base/gbk.h"
#include "platform/qt/ui/qt_backend.h"

namespace sr::qt::testing {

// The one backend (and application object) of the test program.
inline QtBackend& Backend() {
  static int argc = 1;
  static char name[] = "qt_ui_tests";
  static char* argv[] = {name, nullptr};
  static QtBackend* backend = new QtBackend(argc, argv);
  return *backend;
}

// GBK text from a UTF-8 literal, as the models hand texts over.
inline Text Gbk(const char8_t* utf8) { return FromUtf8(reinterpret_cast<const char*>(utf8)); }
inline QString Q(const char8_t* utf8) {
  return QString::fromUtf8(reinterpret_cast<const char*>(utf8));
}

struct WindowRecorder : ui::WindowEvents {
  void OnCloseRequested() override { ++close_requests; }
  void OnRectChanged(const ui::Rect& rect) override { rects.push_back(rect); }
  void OnMenuChosen(int index) override { chosen.push_back(index); }

  int close_requests = 0;
  std::vector<ui::Rect> rects;
  std::vector<int> chosen;
};

struct ControlRecorder : ui::ControlEvents {
  void OnInput(ui::Input input, int a, int b, int c) override {
    inputs.emplace_back(input, a, b, c);
  }
  void OnClicked() override { ++clicks; }
  void OnTextEdited(const ui::Text& text) override { edits.push_back(text); }
  void OnToolbarButtonClicked(int index) override { toolbar.push_back(index); }

  // The inputs of one kind, as (a, b, c).
  std::vector<std::tuple<int, int, int>> Of(ui::Input kind) const {
    std::vector<std::tuple<int, int, int>> found;
    for (const auto& [input, a, b, c] : inputs)
      if (input == kind) found.emplace_back(a, b, c);
    return found;
  }

  std::vector<std::tuple<ui::Input, int, int, int>> inputs;
  int clicks = 0;
  std::vector<ui::Text> edits;
  std::vector<int> toolbar;
};

}  // namespace sr::qt::testing

#endif  // SALARY_PLATFORM_QT_UI_TESTS_QT_TEST_SUPPORT_H_
