#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "platform/qt/ui/form_font.h"
#include "platform/qt/ui/form_window.h"
#include "platform/qt/ui/tests/qt_test_support.h"

namespace sr::qt {
namespace {

using testing::Backend;
using testing::ControlRecorder;
using testing::Gbk;
using testing::Q;
using testing::WindowRecorder;

FormWindow* Native(ui::WindowPeer& peer) { return static_cast<WindowPeerImpl&>(peer).window(); }

ui::WindowSpec MenuWindowSpec() {
  ui::WindowSpec description;
  description.caption = Gbk(u8"新建");
  description.rect = {50, 50, 400, 300};
  description.sizable = true;
  description.menu = {
      {Gbk(u8"&F 文件 "), 0, {}, false},
      {Gbk(u8"&A 新建"), 1, {'A', ui::kCtrl}, false},
      {"-", 1, {}, false},
      {Gbk(u8"&S 保存"), 1, {'S', ui::kCtrl}, true},
      {Gbk(u8"&E 编辑 "), 0, {}, false},
      {Gbk(u8"添加空行"), 1, {ui::kVkF5, 0}, false},
  };
  return description;
}

TEST(QtWindow, MenuBarShowsCaptionsShortcutsAndStatesAndReportsChoices) {
  Backend();
  WindowRecorder events;
  auto peer = Backend().CreateWindow(MenuWindowSpec(), &events);
  FormWindow* window = Native(*peer);
  EXPECT_EQ(window->windowTitle(), Q(u8"新建"));

  const QList<QAction*> titles = window->menuBar()->actions();
  ASSERT_EQ(titles.size(), 2);
  EXPECT_EQ(titles[0]->text(), Q(u8"&F 文件 "));
  EXPECT_EQ(titles[1]->text(), Q(u8"&E 编辑 "));
  const QList<QAction*> file = titles[0]->menu()->actions();
  ASSERT_EQ(file.size(), 3);
  EXPECT_EQ(file[0]->text(), Q(u8"&A 新建"));
  EXPECT_EQ(file[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
  EXPECT_TRUE(file[1]->isSeparator());
  EXPECT_FALSE(file[2]->isEnabled());
  EXPECT_EQ(titles[1]->menu()->actions()[0]->shortcut(), QKeySequence(Qt::Key_F5));

  file[0]->trigger();
  file[2]->trigger();  // disabled: not reported
  peer->SetMenuEntryDisabled(3, false);
  file[2]->trigger();
  titles[1]->menu()->actions()[0]->trigger();
  EXPECT_EQ(events.chosen, (std::vector<int>{1, 3, 5}));
}

TEST(QtWindow, ShortcutsRunMenuEntriesOfTheActiveWindowOnly) {
  WindowRecorder events;
  auto peer = Backend().CreateWindow(MenuWindowSpec(), &events);
  peer->Show();
  FormWindow* window = Native(*peer);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  QTest::keyClick(window, Qt::Key_F5);
  EXPECT_EQ(events.chosen, (std::vector<int>{5}));
  peer->SetEnabled(false);  // a modal window is open over it
  QTest::keyClick(window, Qt::Key_F5);
  QTest::keyClick(window, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(events.chosen, (std::vector<int>{5}));
}

TEST(QtWindow, ClosingIsAskedNotDoneAndABlockedWindowCannotBeClosed) {
  WindowRecorder events;
  auto peer = Backend().CreateWindow(MenuWindowSpec(), &events);
  peer->Show();
  FormWindow* window = Native(*peer);
  window->close();
  EXPECT_EQ(events.close_requests, 1);
  EXPECT_TRUE(window->isVisible());
  peer->SetEnabled(false);
  window->close();
  EXPECT_EQ(events.close_requests, 1);
  peer->SetEnabled(true);
  window->close();
  EXPECT_EQ(events.close_requests, 2);
}

TEST(QtWindow, FrameRectangleIsSetAndEveryResizeIsReported) {
  WindowRecorder events;
  ui::WindowSpec description = MenuWindowSpec();
  auto peer = Backend().CreateWindow(description, &events);
  peer->Show();
  FormWindow* window = Native(*peer);
  EXPECT_EQ(window->FrameRect(), description.rect);
  ASSERT_FALSE(events.rects.empty());
  EXPECT_EQ(events.rects.back(), description.rect);

  // As the user drags the frame: the inside grows by 200 x 100, and so does the frame.
  window->resize(window->size() + QSize(200, 100));
  EXPECT_TRUE(QTest::qWaitFor([&] { return events.rects.back() == ui::Rect{50, 50, 600, 400}; }));
  peer->SetRect({60, 70, 500, 350});
  EXPECT_EQ(window->FrameRect(), (ui::Rect{60, 70, 500, 350}));
}

TEST(QtWindow, SecondaryWindowHasAFixedFrameWithoutMinimiseAndMaximise) {
  WindowRecorder main_events, events;
  auto main = Backend().CreateWindow(MenuWindowSpec(), &main_events);
  main->Show();
  ui::WindowSpec description;
  description.rect = {50, 50, 362, 148};
  auto peer = Backend().CreateWindow(description, &events);
  FormWindow* window = Native(*peer);
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMinMaxButtonsHint);
  EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(window->parentWidget(), Native(*main));  // stays above the main window
  EXPECT_TRUE(window->menuBar()->actions().isEmpty());
}

TEST(QtWindow, ModalLoopRunsUntilEndedEvenWhenTheWindowGoesWithIt) {
  WindowRecorder events;
  auto peer = Backend().CreateWindow(MenuWindowSpec(), &events);
  peer->Show();
  bool ran = false;
  QTimer::singleShot(0, [&] {
    ran = true;
    Backend().EndModalLoop(*peer);
    peer.reset();  // the framework destroys the window's peers right after ending its loop
  });
  Backend().RunModalLoop(*peer);
  EXPECT_TRUE(ran);
  EXPECT_EQ(peer, nullptr);

  // A window closed by its own created handler has ended its loop before it would start.
  auto closed = Backend().CreateWindow(MenuWindowSpec(), &events);
  Backend().EndModalLoop(*closed);
  Backend().RunModalLoop(*closed);  // returns at once
}

TEST(QtWindow, QuitEndsTheMainLoopFromInsideAModalLoopWithItsExitCode) {
  WindowRecorder events;
  auto dialog = Backend().CreateWindow(MenuWindowSpec(), &events);
  bool modal_returned = false;
  QTimer::singleShot(0, [&] {
    dialog->Show();
    QTimer::singleShot(0, [] { Backend().Quit(3); });
    Backend().RunModalLoop(*dialog);
    modal_returned = true;
  });
  EXPECT_EQ(Backend().RunMainLoop(), 3);
  EXPECT_TRUE(modal_returned);
}

TEST(QtWindow, InputToABlockedWindowIsDropped) {
  WindowRecorder window_events;
  ControlRecorder button_events;
  auto peer = Backend().CreateWindow(MenuWindowSpec(), &window_events);
  ui::ControlSpec description;
  description.kind = ui::ControlKind::kButton;
  description.rect = {10, 40, 80, 24};
  description.text = "OK";
  auto button = peer->CreateControl(description, &button_events, nullptr);
  peer->Show();
  auto* widget = Native(*peer)->findChild<QPushButton*>();
  ASSERT_NE(widget, nullptr);
  QTest::mouseClick(widget, Qt::LeftButton);
  EXPECT_EQ(button_events.clicks, 1);
  peer->SetEnabled(false);
  QTest::mouseClick(widget, Qt::LeftButton);
  EXPECT_EQ(button_events.clicks, 1);
  EXPECT_TRUE(widget->isEnabled());  // blocked, not greyed out
  peer->SetEnabled(true);
  QTest::mouseClick(widget, Qt::LeftButton);
  EXPECT_EQ(button_events.clicks, 2);
}

ui::ControlSpec ToolbarSpec() {
  ui::ControlSpec description;
  description.kind = ui::ControlKind::kToolbar;
  description.rect = {0, -22, 974, 28};
  ui::ToolbarEntrySpec separator;
  separator.separator = true;
  description.toolbar_entries = {separator,
                          {false, Gbk(u8"新建"), Gbk(u8"新建学生名单"), 14, 0},
                          separator,
                          {false, Gbk(u8"删除"), Gbk(u8"删除一条记录"), 13, ui::kToolbarDisabled},
                          separator};
  return description;
}

// A shown window holding the toolbar of ToolbarSpec().
struct ToolbarWindow {
  ToolbarWindow()
      : peer(Backend().CreateWindow(MenuWindowSpec(), &window_events)),
        toolbar(peer->CreateControl(ToolbarSpec(), &events, nullptr)) {
    peer->Show();
    bar = Native(*peer)->client()->findChild<QToolBar*>();
  }

  // The buttons of the toolbar's entries, in order (not the extension button).
  QList<QToolButton*> EntryButtons() const {
    QList<QToolButton*> buttons;
    for (QToolButton* button : bar->findChildren<QToolButton*>())
      if (button->defaultAction() != nullptr) buttons << button;
    return buttons;
  }

  WindowRecorder window_events;
  ControlRecorder events;
  std::unique_ptr<ui::WindowPeer> peer;
  std::unique_ptr<ui::ControlPeer> toolbar;
  QToolBar* bar = nullptr;
};

TEST(QtWindow, ToolbarDocksAtTheTopWithCaptionsUnderIconsAndReportsIndexes) {
  ToolbarWindow shown;
  FormWindow* window = Native(*shown.peer);
  QToolBar* bar = shown.bar;
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->geometry().topLeft(), QPoint(0, 0));
  EXPECT_EQ(bar->width(), window->client()->width());

  const QList<QToolButton*> buttons = shown.EntryButtons();
  ASSERT_EQ(buttons.size(), 2);
  EXPECT_EQ(buttons[0]->text(), Q(u8"新建"));
  EXPECT_EQ(buttons[0]->toolTip(), Q(u8"新建学生名单"));
  EXPECT_EQ(buttons[0]->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
  EXPECT_EQ(buttons[0]->iconSize(), QSize(16, 16));
  EXPECT_FALSE(buttons[0]->icon().isNull());
  EXPECT_TRUE(buttons[0]->isEnabled());
  EXPECT_FALSE(buttons[1]->isEnabled());

  buttons[0]->click();
  buttons[1]->click();  // disabled
  shown.toolbar->SetToolbarButtonState(3, 0);
  EXPECT_TRUE(buttons[1]->isEnabled());
  buttons[1]->click();
  EXPECT_EQ(shown.events.toolbar, (std::vector<int>{1, 3}));

  window->resize(700, 300);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->client()->width() == 700; }));
  EXPECT_EQ(bar->width(), 700);
}

// A button is as wide as its caption and a small margin. The width is measured once, not at every
// layout pass, so it must follow a new caption and a new font.
TEST(QtWindow, ToolbarButtonIsAsWideAsItsCaptionAfterTheCaptionOrFontChanges) {
  ToolbarWindow shown;
  ASSERT_NE(shown.bar, nullptr);
  QToolButton* button = shown.EntryButtons().value(0);
  ASSERT_NE(button, nullptr);
  const auto caption_width = [button] {
    return button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width();
  };
  const int first = button->sizeHint().width();
  EXPECT_EQ(first, caption_width() + 6);

  button->defaultAction()->setText(Q(u8"新建学生名单和工资表"));
  EXPECT_EQ(button->text(), Q(u8"新建学生名单和工资表"));
  EXPECT_GT(button->sizeHint().width(), first);
  EXPECT_EQ(button->sizeHint().width(), caption_width() + 6);
  EXPECT_EQ(button->minimumSizeHint(), button->sizeHint());

  QFont larger = button->font();
  larger.setPixelSize(larger.pixelSize() * 2);
  const int before = button->sizeHint().width();
  button->setFont(larger);
  EXPECT_GT(button->sizeHint().width(), before);
  EXPECT_EQ(button->sizeHint().width(), caption_width() + 6);
}

}  // namespace
}  // namespace sr::qt

namespace sr::qt {
namespace {

// Each face named but not installed costs a fallback search over every installed font when the
// first text is measured: the form font names only the face it found.
TEST(QtFormFont, NamesTheOneInstalledFaceItUses) {
  testing::Backend();
  const QFont font = FormFont();
  ASSERT_EQ(font.families().size(), 1) << font.families().join(", ").toStdString();
  EXPECT_TRUE(QFontDatabase::hasFamily(font.families()[0]));
  EXPECT_EQ(QFontInfo(font).family(), font.families()[0]);
  EXPECT_LE(QFontMetrics(font).height(), kFormLinePixels);
}

}  // namespace
}  // namespace sr::qt
