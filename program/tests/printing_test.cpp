#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "base/gbk.h"
#include "platform/qt/print/print_status_dialog.h"
#include "platform/qt/print/qt_print_seam.h"
#include "platform/qt/print/song_font.h"
#include "platform/qt/print/tests/pdf_words.h"
#include "runtime/print/printer.h"

// fontconfig keeps its caches until exit; they are not our leaks.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace sr::qt {
namespace {

namespace fs = std::filesystem;

QApplication& App() {
  static int argc = 1;
  static char name[] = "qt_print_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

Text Gbk(const char8_t* utf8) { return FromUtf8(reinterpret_cast<const char*>(utf8)); }

double PixelsToMm(int pixels, int dpi) { return pixels * 25.4 / dpi; }

struct Box {
  double x_mm = 0;  // left edge from the page's left edge
  double y_mm = 0;  // top edge from the page's top edge
  double width_mm = 0;
};

// The words of a PDF with their boxes, by text.
std::map<std::string, Box> WordsOf(const fs::path& pdf) {
  std::map<std::string, Box> words;
  for (const test::PdfWord& word : test::PdfWordsOf(pdf)) {
    words[word.text] = Box{word.x, word.y, word.width};
  }
  return words;
}

class QtPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    char pattern[] = "/tmp/qt-print-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    seam_.PrintToPdfWithoutAsking((dir_ / "out.pdf").string());
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
  QtPrintSeam seam_;
};

TEST_F(QtPrintTest, SimSunIsServedByASongFaceWithFullWidthRules) {
  QString family = ResolveFace(QString::fromUtf8(reinterpret_cast<const char*>(u8"宋体")));
  ASSERT_FALSE(SongFamily().isEmpty()) << "no Song style CJK font installed";
  QFont font(family);
  font.setPointSize(12);
  EXPECT_TRUE(RulesAreFullWidth(font)) << family.toStdString();
  EXPECT_EQ(ResolveFace("SimSun"), family);
  EXPECT_EQ(ResolveFace("DejaVu Sans"), "DejaVu Sans");  // other faces pass through
  // The check does tell: a Latin face draws the rule narrower than a Han character.
  if (QFontDatabase::families().contains("DejaVu Sans")) {
    QFont latin("DejaVu Sans");
    latin.setStyleStrategy(QFont::NoFontMerging);
    EXPECT_FALSE(RulesAreFullWidth(latin));
  }
}

TEST_F(QtPrintTest, PositionedTextsLandWhereAskedOnTheA4Pdf) {
  Printer printer(&seam_);
  ASSERT_TRUE(printer.StartPrint(false, false, 2, 0));  // no dialog: the PDF is the printer
  print::PageGeometry g = seam_.Geometry();
  printer.SetFontName(Gbk(u8"宋体"));
  printer.SetFontSize(16);
  printer.PrintAt(600, 300, {Value::FromText(Gbk(u8"工资汇总"))});
  printer.SetFontSize(12);
  printer.PrintAt(300, 450, {Value::FromText("Left")});
  printer.PrintAt(1000, 450, {Value::FromText("Right")});
  printer.PrintAt(300, 600, {Value::FromText("Top\r\nNext")});
  printer.PrintAt(300, 800, {Value::FromText(Gbk(u8"┌──┐"))});
  int line_height = seam_.MeasureText("Top").height;
  printer.EndPrint();

  EXPECT_NEAR(PixelsToMm(g.physical_width, g.dpi_x), 210, 0.5);
  EXPECT_NEAR(PixelsToMm(g.physical_height, g.dpi_y), 297, 0.5);
  double left = PixelsToMm(g.offset_x, g.dpi_x);
  double top = PixelsToMm(g.offset_y, g.dpi_y);
  std::map<std::string, Box> words = WordsOf(dir_ / "out.pdf");
  ASSERT_EQ(words.count("Left"), 1u) << "pdftotext found " << words.size() << " words";
  EXPECT_NEAR(words["Left"].x_mm, left + 30, 0.5);
  EXPECT_NEAR(words["Left"].y_mm, top + 45, 0.5);
  EXPECT_NEAR(words["Right"].x_mm, left + 100, 0.5);
  EXPECT_NEAR(words["Right"].y_mm, top + 45, 0.5);
  EXPECT_NEAR(words["Top"].y_mm, top + 60, 0.5);
  EXPECT_NEAR(words["Next"].x_mm, left + 30, 0.5);
  EXPECT_NEAR(words["Next"].y_mm, top + 60 + PixelsToMm(line_height + 2, g.dpi_y), 0.5);
  const std::string title = reinterpret_cast<const char*>(u8"工资汇总");
  ASSERT_EQ(words.count(title), 1u);
  EXPECT_NEAR(words[title].x_mm, left + 60, 0.5);
  EXPECT_NEAR(words[title].y_mm, top + 30, 0.5);
  // Four full-width characters of 12 points: 4 x 12 / 72 inch.
  const std::string rule = reinterpret_cast<const char*>(u8"┌──┐");
  ASSERT_EQ(words.count(rule), 1u);
  EXPECT_NEAR(words[rule].width_mm, 4 * 12 * 25.4 / 72, 0.5);
}

// The seam gathers texts and draws them in runs: a run must end at every change of font,
// colour and page, and a text the face cannot show still comes out through a fallback face.
TEST_F(QtPrintTest, GatheredTextsKeepTheirFontPageAndFallbackFace) {
  const bool dejavu = QFontDatabase::families().contains("DejaVu Sans");
  Printer printer(&seam_);
  ASSERT_TRUE(printer.StartPrint(false, false, 2, 0));
  print::PageGeometry g = seam_.Geometry();
  printer.SetFontName(Gbk(u8"宋体"));
  printer.SetFontSize(10);
  printer.PrintAt(300, 300, {Value::FromText("Small")});
  printer.SetFontSize(20);
  printer.PrintAt(300, 450, {Value::FromText("Large")});
  printer.DrawLine(300, 520, 900, 520);
  printer.SetFontSize(10);
  printer.PrintAt(300, 600, {Value::FromText("Before")});
  printer.NewPage();
  printer.PrintAt(300, 300, {Value::FromText("Second")});
  if (dejavu) {
    printer.SetFontName("DejaVu Sans");  // has no Han characters
    printer.PrintAt(300, 450, {Value::FromText(Gbk(u8"工资"))});
  }
  printer.EndPrint();

  std::map<std::string, test::PdfWord> words;
  for (const test::PdfWord& word : test::PdfWordsOf(dir_ / "out.pdf")) words[word.text] = word;
  ASSERT_EQ(words.count("Small"), 1u) << "pdftotext found " << words.size() << " words";
  ASSERT_EQ(words.count("Large"), 1u);
  EXPECT_NEAR(words["Large"].height / words["Small"].height, 2.0, 0.1);
  EXPECT_EQ(words["Small"].page, 1);
  EXPECT_EQ(words["Before"].page, 1);
  EXPECT_NEAR(words["Before"].height, words["Small"].height, 0.1);
  EXPECT_EQ(words["Second"].page, 2);
  if (dejavu) {
    const std::string han = reinterpret_cast<const char*>(u8"工资");
    ASSERT_EQ(words.count(han), 1u);
    EXPECT_EQ(words[han].page, 2);
    EXPECT_NEAR(words[han].x, PixelsToMm(g.offset_x, g.dpi_x) + 30, 0.5);
  }
}

TEST_F(QtPrintTest, PdfRunAsksNothingEvenWhenTheCallerWantsTheDialog) {
  // Should a dialog come up after all, close it so that the test fails instead of hanging.
  QTimer::singleShot(3000, [] {
    if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
  });
  Printer printer(&seam_);
  ASSERT_TRUE(printer.StartPrint(true, false, 2, 0));  // as the summary calls it
  printer.PrintAt(300, 450, {Value::FromText("Asked")});
  printer.EndPrint();
  EXPECT_EQ(WordsOf(dir_ / "out.pdf").count("Asked"), 1u);
}

// The PDF file chosen in the print dialog is offered again by the next printout, by any seam,
// while the program runs.
TEST(QtPrintDialog, TheNextPrintoutOffersTheLastPdfFile) {
  App();
  QtPrintSeam seam;
  seam.PrepareSettings(print::PaperRequest{}, print::Orientation::kPortrait);
  const QString chosen = QDir::temp().filePath(QStringLiteral("qt-print-dialog-test.pdf"));
  // What the clerk does in the dialog: print to this file.
  QTimer accept;
  QObject::connect(&accept, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    accept.stop();
    dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
    dialog->printer()->setOutputFileName(chosen);
    dialog->done(QDialog::Accepted);
  });
  accept.start(20);
  ASSERT_EQ(seam.ShowPrintDialog(), print::DialogOutcome::kToPrinter);
  const Text printed = seam.Device().output_file;
  if (printed.empty()) GTEST_SKIP() << "the dialog printed to a printer of this machine";
  QtPrintSeam other;
  for (QtPrintSeam* next : {&seam, &other}) {
    next->PrepareSettings(print::PaperRequest{}, print::Orientation::kPortrait);
    EXPECT_EQ(next->Device().output_file, printed);
  }
}

TEST_F(QtPrintTest, StatusWindowShowsTheJobAndItsCancelStopsThePrintout) {
  // The summary window that prints is itself modal; the status window must still take clicks.
  QDialog summary;
  summary.setWindowModality(Qt::ApplicationModal);
  summary.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&summary));
  Printer printer(&seam_);
  printer.set_job_name(Gbk(u8"工资汇总"));
  ASSERT_TRUE(printer.StartPrint(false, true, 2, 0));
  PrintStatusDialog* status = seam_.status_window();
  ASSERT_NE(status, nullptr);
  EXPECT_TRUE(status->isVisible());
  // The top modal window is the one that takes input.
  EXPECT_EQ(QApplication::activeModalWidget(), status);
  QStringList lines;
  for (QLabel* label : status->findChildren<QLabel*>()) lines << label->text();
  EXPECT_TRUE(
      lines.join("|").contains(QString::fromUtf8(reinterpret_cast<const char*>(u8"工资汇总"))))
      << lines.join("|").toStdString();
  EXPECT_TRUE(lines.join("|").contains("out.pdf")) << lines.join("|").toStdString();

  // The page line follows the job onto its next page.
  EXPECT_EQ(status->page_line(), QString::fromUtf8(reinterpret_cast<const char*>(u8"第 1 页")));
  printer.PrintAt(300, 300, {Value::FromText("First")});
  printer.NewPage();
  printer.PrintAt(300, 300, {Value::FromText("Second")});
  EXPECT_EQ(status->page_line(), QString::fromUtf8(reinterpret_cast<const char*>(u8"第 2 页")));

  printer.PrintAt(300, 450, {Value::FromText("Before")});
  QTest::mouseClick(status->cancel_button(), Qt::LeftButton);
  printer.PrintAt(300, 600, {Value::FromText("After")});
  EXPECT_TRUE(printer.cancelled());
  printer.EndPrint();
  EXPECT_EQ(seam_.status_window(), nullptr);
  // The PDF engine cannot abort; the half-written file is removed instead.
  EXPECT_FALSE(fs::exists(dir_ / "out.pdf"));
}

}  // namespace
}  // namespace sr::qt
