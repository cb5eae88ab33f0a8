#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/qt/ui/form_window.h"
#include "platform/qt/ui/qt_keys.h"
#include "platform/qt/ui/qt_text.h"
#include "platform/qt/ui/refusal.h"
#include "platform/qt/ui/tests/qt_test_support.h"

namespace sr::qt {
namespace {

using testing::Backend;
using testing::ControlRecorder;
using testing::Gbk;
using testing::Q;
using testing::WindowRecorder;

// A window with one control of `description` in it, shown.
struct OneControl {
  explicit OneControl(const ui::ControlSpec& description) {
    ui::WindowSpec window_spec;
    window_spec.rect = {50, 50, 400, 300};
    window_spec.sizable = true;
    window = Backend().CreateWindow(window_spec, &window_events);
    control = window->CreateControl(description, &events, nullptr);
    window->Show();
  }
  template <typename W>
  W* Widget() const {
    return static_cast<WindowPeerImpl&>(*window).window()->client()->findChild<W*>();
  }

  WindowRecorder window_events;
  ControlRecorder events;
  std::unique_ptr<ui::WindowPeer> window;
  std::unique_ptr<ui::ControlPeer> control;
};

ui::ControlSpec Description(ui::ControlKind kind, const Text& text = {}) {
  ui::ControlSpec description;
  description.kind = kind;
  description.rect = {20, 30, 200, 40};
  description.text = text;
  return description;
}

TEST(QtControls, LabelShowsConvertedLinesInItsColourAtItsPlace) {
  ui::ControlSpec description = Description(ui::ControlKind::kLabel, Gbk(u8"工资及个人所得税\r\n管理程序"));
  description.text_color = 0x808080;
  description.multi_line = true;
  OneControl one(description);
  auto* label = one.Widget<QLabel>();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), Q(u8"工资及个人所得税\n管理程序"));
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0x80, 0x80, 0x80));
  EXPECT_EQ(label->geometry(), QRect(20, 30, 200, 40));
  EXPECT_EQ(label->textFormat(), Qt::PlainText);  // "<b>" in a name stays text

  one.control->SetText(Gbk(u8"表内人数: 3 人"));
  one.control->SetRect({830, 13, 120, 26});
  one.control->SetVisible(false);
  EXPECT_EQ(label->text(), Q(u8"表内人数: 3 人"));
  EXPECT_EQ(label->geometry(), QRect(830, 13, 120, 26));
  EXPECT_FALSE(label->isVisibleTo(label->parentWidget()));
}

TEST(QtControls, EditBoxReportsWhatTheUserTypesButNotWhatTheModelSets) {
  OneControl one(Description(ui::ControlKind::kEditBox, Gbk(u8"工资")));
  auto* edit = one.Widget<QLineEdit>();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), Q(u8"工资"));
  edit->setFocus();
  edit->end(false);
  QTest::keyClicks(edit, QStringLiteral("ab"));
  ASSERT_EQ(one.events.edits.size(), 2u);
  EXPECT_EQ(one.events.edits[1], Gbk(u8"工资ab"));
  one.control->SetText(Gbk(u8"免税"));
  EXPECT_EQ(edit->text(), Q(u8"免税"));
  EXPECT_EQ(one.events.edits.size(), 2u);
}

TEST(QtControls, EditBoxRefusesACharacterThatGbkCannotHold) {
  OneControl one(Description(ui::ControlKind::kEditBox, "a"));
  auto* edit = one.Widget<QLineEdit>();
  edit->setFocus();
  edit->end(false);
  QInputMethodEvent typed;
  typed.setCommitString(QString::fromUcs4(U"\U0001F600"));  // an emoji
  QApplication::sendEvent(edit, &typed);
  EXPECT_EQ(edit->text(), QStringLiteral("a"));
  EXPECT_TRUE(one.events.edits.empty());
  QTest::keyClicks(edit, QStringLiteral("b"));
  EXPECT_EQ(one.events.edits, (std::vector<Text>{"ab"}));
}

TEST(QtControls, ButtonReportsClicksAndProgressBarMirrorsItsPosition) {
  OneControl button(Description(ui::ControlKind::kButton, Gbk(u8"开始查找")));
  auto* push = button.Widget<QPushButton>();
  EXPECT_EQ(push->text(), Q(u8"开始查找"));
  QTest::mouseClick(push, Qt::LeftButton);
  EXPECT_EQ(button.events.clicks, 1);
  button.control->SetEnabled(false);
  QTest::mouseClick(push, Qt::LeftButton);
  EXPECT_EQ(button.events.clicks, 1);

  ui::ControlSpec description = Description(ui::ControlKind::kProgressBar);
  description.progress_maximum = 100;
  OneControl progress(description);
  auto* bar = progress.Widget<QProgressBar>();
  EXPECT_FALSE(bar->isTextVisible());
  progress.control->SetProgressPosition(42);
  EXPECT_EQ(bar->value(), 42);
  EXPECT_EQ(bar->maximum(), 100);
}

TEST(QtControls, ShapeBoxHoldsItsControlsRelativeToItself) {
  ui::ControlSpec box_spec = Description(ui::ControlKind::kShapeBox);
  box_spec.rect = {208, 24, 128, 327};
  OneControl one(box_spec);
  ControlRecorder edit_events;
  ui::ControlSpec edit_spec = Description(ui::ControlKind::kEditBox);
  edit_spec.rect = {16, 8, 96, 24};
  auto edit = one.window->CreateControl(edit_spec, &edit_events, one.control.get());
  auto* line = one.Widget<QLineEdit>();
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->geometry(), QRect(16, 8, 96, 24));
  EXPECT_EQ(line->parentWidget()->geometry(), QRect(208, 24, 128, 327));
}

TEST(QtControls, GenericInputIsReportedInClientPixelsWithModifiersAndCodes) {
  OneControl one(Description(ui::ControlKind::kEditBox));
  auto* edit = one.Widget<QLineEdit>();
  QTest::mousePress(edit, Qt::RightButton, Qt::ControlModifier, QPoint(3, 4));
  QTest::mouseRelease(edit, Qt::RightButton, Qt::ControlModifier, QPoint(3, 4));
  EXPECT_EQ(one.events.Of(ui::Input::kRightButtonDown),
            (std::vector<std::tuple<int, int, int>>{{3, 4, ui::kCtrl}}));
  EXPECT_EQ(one.events.Of(ui::Input::kRightButtonUp).size(), 1u);

  edit->setFocus();
  one.events.inputs.clear();
  QTest::keyClick(edit, Qt::Key_A, Qt::ShiftModifier);  // Shift goes down first, as a key
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClick(edit, 'x');
  QTest::keyClick(edit, 'c', Qt::ControlModifier);  // a command, not a character
  EXPECT_EQ(one.events.Of(ui::Input::kKeyDown),
            (std::vector<std::tuple<int, int, int>>{{0x10, ui::kShift, 0},
                                                    {0x41, ui::kShift, 0},
                                                    {0x2E, 0, 0},
                                                    {0x58, 0, 0},
                                                    {0x11, ui::kCtrl, 0},
                                                    {0x43, ui::kCtrl, 0}}));
  const auto characters = one.events.Of(ui::Input::kCharacter);
  ASSERT_EQ(characters.size(), 2u);
  EXPECT_EQ(characters[1], std::make_tuple('x', 0, 0));

  QInputMethodEvent composed;
  composed.setCommitString(Q(u8"中"));
  QApplication::sendEvent(edit, &composed);
  EXPECT_EQ(one.events.Of(ui::Input::kCharacter).back(), std::make_tuple(0xD6D0, 0, 0));
  EXPECT_EQ(one.events.Of(ui::Input::kKeyUp).size(), one.events.Of(ui::Input::kKeyDown).size());
}

TEST(QtControls, ClipboardCarriesPlainTextAndRefusesWhatGbkCannotHold) {
  Backend();
  Clipboard& clipboard = Backend().clipboard();
  clipboard.SetText(Gbk(u8"中文\tx\n1") + std::string(1, '\0'));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), Q(u8"中文\tx\n1"));
  Text text;
  ASSERT_TRUE(clipboard.GetText(&text));
  EXPECT_EQ(text, Gbk(u8"中文\tx\n1"));

  QGuiApplication::clipboard()->setText(QStringLiteral("a") + QString::fromUcs4(U"\U0001F600"));
  text = "unchanged";
  EXPECT_FALSE(clipboard.GetText(&text));
  EXPECT_EQ(text, "unchanged");
  QGuiApplication::clipboard()->clear();
  EXPECT_FALSE(clipboard.GetText(&text));
}

TEST(QtText, KeysShortcutsAndCharacterCodesMapAsTheModelsNumberThem) {
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_A), 0x41);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_7), 0x37);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F5), ui::kVkF5);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Delete), ui::kVkDelete);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Enter), ui::kVkReturn);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_MediaPlay), 0);
  EXPECT_EQ(ModifiersFromQt(Qt::ControlModifier | Qt::AltModifier), ui::kCtrl | ui::kAlt);
  EXPECT_EQ(ToKeySequence({'E', ui::kCtrl}), QKeySequence(QStringLiteral("Ctrl+E")));
  EXPECT_EQ(ToKeySequence({ui::kVkF3, 0}), QKeySequence(Qt::Key_F3));
  EXPECT_TRUE(ToKeySequence({}).isEmpty());
  EXPECT_EQ(GbkCharacterCode(QStringLiteral("a")), 'a');
  EXPECT_EQ(GbkCharacterCode(Q(u8"中")), 0xD6D0);
  EXPECT_EQ(GbkCharacterCode(QString::fromUcs4(U"\U0001F600")), 0);
  Text gbk = "kept";
  QString bad;
  EXPECT_FALSE(FromQString(QStringLiteral("x") + QString::fromUcs4(U"\U0001F600"), &gbk, &bad));
  EXPECT_EQ(gbk, "kept");
  EXPECT_EQ(bad, QString::fromUcs4(U"\U0001F600"));
  // The clerk is told in Chinese, with the character and its code point.
  const QString message = RefusalMessage(bad);
  EXPECT_TRUE(message.contains(QStringLiteral("U+1F600")));
  EXPECT_TRUE(message.contains(bad));
  EXPECT_TRUE(message.contains(QStringLiteral(u"无法保存")));
}

}  // namespace
}  // namespace sr::qt
