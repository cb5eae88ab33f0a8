// The keyboard focus on the headless backend: the same checks as the Qt backend's.
#include <utility>

#include "platform/headless/headless_backend.h"
#include "platform/ui/tests/focus_contract.h"

namespace sr::headless {
namespace {

class HeadlessFocusDriver : public ui::testing::FocusDriver {
 public:
  HeadlessFocusDriver() {
    backend_.SetScreenObserver([this](const ScreenEvent& event) {
      if (!pending_ || event.kind != pending_kind_) return;
      std::function<void()> act = std::exchange(pending_, nullptr);
      act();
    });
  }

  ui::Backend& backend() override { return backend_; }
  void WhileNextModalWindowIsUp(std::function<void()> act) override {
    backend_.QueueModalScript(std::move(act));
  }
  void WhileNextMessageBoxIsUp(std::function<void()> act) override {
    WhileNext(ScreenEvent::Kind::kMessageBox, std::move(act));
  }
  void WhileNextMenuIsUp(std::function<void()> act) override {
    WhileNext(ScreenEvent::Kind::kPopupMenu, std::move(act));
  }
  void ChooseFromMenuBar(ui::WindowPeer&, int index) override { backend_.ChooseFromMenuBar(index); }
  void Settle() override {}

 private:
  void WhileNext(ScreenEvent::Kind kind, std::function<void()> act) {
    pending_kind_ = kind;
    pending_ = std::move(act);
  }

  HeadlessBackend backend_;
  ScreenEvent::Kind pending_kind_ = ScreenEvent::Kind::kMessageBox;
  std::function<void()> pending_;
};

class HeadlessFocus : public ::testing::Test {
 protected:
  HeadlessFocusDriver driver_;
};

SR_FOCUS_CONTRACT_TESTS(HeadlessFocus)

}  // namespace
}  // namespace sr::headless
