// The dialog driver of the Qt tests: a dialog that does not come, or stays up, fails the test
// within the patience instead of leaving it waiting for ever; a file is chosen whatever has the
// focus.
#include "platform/qt/ui/tests/modal_driver.h"

#include <gtest/gtest-spi.h>

#include <QCloseEvent>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <algorithm>

#include "platform/qt/ui/tests/qt_test_support.h"

namespace sr::qt {
namespace {

using testing::Backend;
using testing::WhenShown;

// Shortens the patience for one test.
class ModalDriver : public ::testing::Test {
 protected:
  ModalDriver() : saved_(testing::dialog_patience_ms) {
    Backend();
    testing::dialog_patience_ms = 300;
  }
  ~ModalDriver() override { testing::dialog_patience_ms = saved_; }

  // The failures that `run` reports, kept from the test's own result.
  static std::vector<std::string> FailuresOf(const std::function<void()>& run) {
    ::testing::TestPartResultArray results;
    {
      ::testing::ScopedFakeTestPartResultReporter reporter(
          ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
      run();
    }
    std::vector<std::string> messages;
    for (int i = 0; i < results.size(); ++i)
      messages.emplace_back(results.GetTestPartResult(i).message());
    return messages;
  }

 private:
  int saved_;
};

// A question that its close box and Esc do not close: only its own buttons answer it.
class MustBeAnswered : public QDialog {
 public:
  void reject() override {}
};

TEST_F(ModalDriver, DialogLeftUpFailsTheTestAndIsClosedSoTheWaitEnds) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Question"), QStringLiteral("Left alone"),
                  QMessageBox::Ok);
  testing::WatchModals();
  int answer = -1;
  const auto failures = FailuresOf([&] { answer = box.exec(); });
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("QMessageBox \"Question\" stayed up"), std::string::npos)
      << failures[0];
  EXPECT_EQ(answer, QDialog::Rejected);

  // One that refuses to be closed is hidden at the second try, which ends its wait as well.
  MustBeAnswered question;
  question.setWindowTitle(QStringLiteral("Must be answered"));
  EXPECT_EQ(FailuresOf([&] { answer = question.exec(); }).size(), 2u);
  EXPECT_EQ(answer, QDialog::Rejected);
  EXPECT_FALSE(question.isVisible());
}

TEST_F(ModalDriver, DialogThatDoesNotComeFailsTheTestNamingWhatCameInstead) {
  bool driven = false;
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Unexpected"), QStringLiteral("Other"),
                  QMessageBox::Ok);
  const auto failures = FailuresOf([&] {
    WhenShown<QFileDialog>([&](QFileDialog*) { driven = true; });
    box.exec();
  });
  EXPECT_FALSE(driven);
  // The driver's failure names the dialog that came instead; the watchdog then closes it.
  EXPECT_TRUE(std::any_of(failures.begin(), failures.end(), [](const std::string& message) {
    return message.find("no QFileDialog came up") != std::string::npos &&
           message.find("QMessageBox \"Unexpected\"") != std::string::npos;
  })) << ::testing::PrintToString(failures);
}

TEST_F(ModalDriver, FileIsChosenEvenWhenTheNameBoxHasTheFocus) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("register.dat"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();

  QFileDialog dialog(nullptr, QString(), dir.path(), QStringLiteral("*.dat"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  WhenShown<QFileDialog>([&](QFileDialog* shown) {
    // The state in which a choice through selectFile() went unnoticed.
    EXPECT_EQ(shown->focusWidget(), shown->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")));
    testing::ChooseFile(shown, path);
  });
  ASSERT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(dialog.selectedFiles(), QStringList{path});
}

}  // namespace
}  // namespace sr::qt
