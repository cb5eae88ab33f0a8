// The keyboard focus on the Qt backend: the same checks as the headless backend's.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/qt/ui/form_window.h"
#include "platform/qt/ui/tests/qt_test_support.h"
#include "platform/ui/tests/focus_contract.h"

namespace sr::qt {
namespace {

using testing::Backend;

// Runs `act` on the first widget that `find` returns, once it has it (inside the loop that
// shows it).
void WhenUp(std::function<QWidget*()> find, std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [find, act] {
    QWidget* up = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (up = find()) != nullptr; }));
    act(up);
  });
}

class QtFocusDriver : public ui::testing::FocusDriver {
 public:
  ui::Backend& backend() override { return Backend(); }

  void WhileNextModalWindowIsUp(std::function<void()> act) override {
    WhenUp(
        [] {
          const std::vector<FormWindow*> shown = Backend().Windows();
          return shown.size() > 1 && shown.back()->isActiveWindow() ? shown.back() : nullptr;
        },
        [act](QWidget*) { act(); });
  }

  void WhileNextMessageBoxIsUp(std::function<void()> act) override {
    WhenUp(
        []() -> QWidget* {
          auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
          return box != nullptr && box->isActiveWindow() ? box : nullptr;
        },
        [act](QWidget* box) {
          act();
          static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
        });
  }

  void WhileNextMenuIsUp(std::function<void()> act) override {
    WhenUp([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
           [act](QWidget* menu) {
             act();
             menu->close();
           });
  }

  // Opens the drop-down by a click on its menu-bar title and clicks the entry in it.
  void ChooseFromMenuBar(ui::WindowPeer& window, int index) override {
    FormWindow* form = static_cast<WindowPeerImpl&>(window).window();
    QAction* entry = form->MenuAction(index);
    auto* menu = qobject_cast<QMenu*>(entry->parent());
    ASSERT_NE(menu, nullptr);
    QMenuBar* bar = form->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
  }

  // The newest window has the keyboard again, and what that delivers has arrived.
  void Settle() override {
    // A window that never becomes active fails the test's own checks that follow.
    (void)QTest::qWaitFor([] {
      const std::vector<FormWindow*> shown = Backend().Windows();
      return shown.empty() || shown.back()->isActiveWindow();
    });
    QTest::qWait(20);
  }
};

class QtFocus : public ::testing::Test {
 protected:
  QtFocusDriver driver_;
};

SR_FOCUS_CONTRACT_TESTS(QtFocus)

}  // namespace
}  // namespace sr::qt
