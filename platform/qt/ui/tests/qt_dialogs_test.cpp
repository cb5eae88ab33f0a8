#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "platform/qt/ui/form_window.h"
#include "platform/qt/ui/qt_text.h"
#include "platform/qt/ui/tests/modal_driver.h"
#include "platform/qt/ui/tests/qt_test_support.h"

namespace sr::qt {
namespace {

using testing::Backend;
using testing::Gbk;
using testing::Q;
using testing::WhenShown;
using testing::WindowRecorder;

TEST(QtDialogs, YesNoBoxShowsTheModelsTextsWithoutIconAndMustBeAnswered) {
  Backend();
  ui::MessageBoxSpec description;
  description.text = Gbk(u8" 是否要保存所作的修改? ");
  description.title = Gbk(u8"保存文件提示");
  description.buttons = ui::MessageButtons::kYesNo;
  bool checked = false;
  WhenShown<QMessageBox>([&](QMessageBox* box) {
    EXPECT_EQ(box->windowTitle(), Q(u8"保存文件提示"));
    EXPECT_EQ(box->text(), Q(u8" 是否要保存所作的修改? "));
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(box->button(QMessageBox::Yes)->icon().isNull());  // no picture anywhere
    EXPECT_TRUE(box->windowModality() == Qt::ApplicationModal);
    // Qt's own button texts in Chinese, when its translations are installed.
    if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                      QStringLiteral("/qtbase_zh_CN.qm"))) {
      EXPECT_TRUE(box->button(QMessageBox::Yes)->text().contains(Q(u8"是")));
    }
    QTest::keyClick(box, Qt::Key_Escape);
    box->close();
    EXPECT_TRUE(box->isVisible());  // a Yes/No question has no way out but its buttons
    checked = true;
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(Backend().ShowMessageBox(description, nullptr), ui::MessageAnswer::kNo);
  EXPECT_TRUE(checked);

  // With 取消, Esc and the close box answer it.
  description.buttons = ui::MessageButtons::kYesNoCancel;
  WhenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
  EXPECT_EQ(Backend().ShowMessageBox(description, nullptr), ui::MessageAnswer::kCancel);
  WhenShown<QMessageBox>([](QMessageBox* box) { box->close(); });
  EXPECT_EQ(Backend().ShowMessageBox(description, nullptr), ui::MessageAnswer::kCancel);

  description.buttons = ui::MessageButtons::kOk;
  description.icon = ui::MessageIcon::kError;
  WhenShown<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    box->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(Backend().ShowMessageBox(description, nullptr), ui::MessageAnswer::kOk);
}

TEST(QtDialogs, SaveDialogStartsInTheInitialDirectoryAndReturnsAGbkPath) {
  Backend();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ui::FileDialogSpec description;
  description.kind = ui::FileDialogKind::kSave;
  description.filter = "*.dat|*.dat";
  Text folder;
  ASSERT_TRUE(FromQString(dir.path(), &folder));
  description.initial_directory = folder;
  WhenShown<QFileDialog>([&](QFileDialog* dialog) {
    EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
    EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("*.dat (*.dat)")});
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("dat"));
    testing::ChooseFile(dialog, Q(u8"二月工资"));
  });
  ui::FileDialogResult result = Backend().RunFileDialog(description, nullptr);
  ASSERT_TRUE(result.confirmed);
  EXPECT_EQ(result.path, folder + "/" + Gbk(u8"二月工资.dat"));

  description.kind = ui::FileDialogKind::kOpen;
  WhenShown<QFileDialog>([](QFileDialog* dialog) {
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    dialog->reject();
  });
  EXPECT_FALSE(Backend().RunFileDialog(description, nullptr).confirmed);
}

TEST(QtDialogs, ShortcutMenuIsACopyOfTheDropDownAndReturnsTheChosenIndex) {
  WindowRecorder events;
  ui::WindowSpec description;
  description.rect = {50, 50, 400, 300};
  description.sizable = true;
  description.menu = {{Gbk(u8"&F 文件 "), 0, {}, false}, {Gbk(u8"&A 新建"), 1, {'A', ui::kCtrl}, false},
               {Gbk(u8"&E 编辑 "), 0, {}, false}, {Gbk(u8"修改"), 1, {}, false},
               {"-", 1, {}, false},               {Gbk(u8"&D 删除"), 1, {'D', ui::kCtrl}, true},
               {Gbk(u8"粘贴"), 1, {'V', ui::kCtrl}, false}};
  auto peer = Backend().CreateWindow(description, &events);
  peer->Show();
  QCursor::setPos(QPoint(200, 200));
  WhenShown<QMenu>([](QMenu* menu) {
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), Q(u8"修改"));
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_FALSE(actions[2]->isEnabled());
    EXPECT_EQ(actions[3]->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));
    menu->setActiveAction(actions[3]);
    QTest::keyClick(menu, Qt::Key_Return);
  });
  EXPECT_EQ(Backend().PopupMenu(*peer, 2, 3, 3), 6);
  EXPECT_TRUE(events.chosen.empty());  // the framework runs the choice, not the menu bar

  WhenShown<QMenu>([](QMenu* menu) { QTest::keyClick(menu, Qt::Key_Escape); });
  EXPECT_EQ(Backend().PopupMenu(*peer, 2, 3, 3), -1);
  EXPECT_EQ(Backend().PopupMenu(*peer, 1, 3, 3), -1);  // not a menu-bar entry
}

}  // namespace
}  // namespace sr::qt
