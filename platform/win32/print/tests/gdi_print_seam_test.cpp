// The print seam over GDI with a PostScript printer that the test installs into Wine's prefix
// (Wine's own PostScript driver and a small PPD; Wine has no PDF or XPS printer of its own),
// printing to a file.
#include "platform/win32/print/gdi_print_seam.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/print/tests/test_printer.h"
#include "platform/win32/text/wide_text.h"

namespace sr::win32 {
namespace {

class GdiPrintSeamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InstallTestPrinter());
    output_ = std::filesystem::temp_directory_path() /
              ("sr_print_" + std::to_string(GetCurrentProcessId()) + ".ps");
  }
  void TearDown() override { std::filesystem::remove(output_); }

  std::string Output() {
    std::ifstream in(output_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  GdiPrintSeam seam_;
  std::filesystem::path output_;
};

TEST_F(GdiPrintSeamTest, APageOfSongTextGoesToTheFileInDevicePixels) {
  seam_.PrepareSettings({false, 9, 0, 0}, print::Orientation::kPortrait);
  ASSERT_TRUE(seam_.HasDefaultPrinter());
  ASSERT_TRUE(seam_.CreateContext(WideToGbk(output_.wstring()).value()));
  const print::PageGeometry page = seam_.Geometry();
  EXPECT_EQ(page.dpi_y, 600);
  EXPECT_NEAR(page.physical_width, 595 * 600 / 72, 10);  // A4 in the PPD's points
  EXPECT_NEAR(page.physical_height, 842 * 600 / 72, 10);
  EXPECT_LE(page.offset_x + page.printable_width, page.physical_width);
  EXPECT_EQ(seam_.Device().printer, WideToGbk(kTestPrinter).value());

  ASSERT_TRUE(seam_.StartDocument("工资汇总"));
  ASSERT_TRUE(seam_.StartPage());
  seam_.SelectFont({12, "宋体"});
  const print::TextExtent one = seam_.MeasureText("工资");
  const print::TextExtent two = seam_.MeasureText("工资工资");
  EXPECT_NEAR(one.height, 12 * 600 / 72, 40);  // about 12 points at 600 dpi
  EXPECT_GT(one.width, 0);
  EXPECT_NEAR(two.width, 2 * one.width, 2);  // every Chinese character is as wide
  seam_.SelectColors(print::kBlack, print::kTransparent);
  seam_.DrawText(300, 300, "工资汇总表");
  seam_.EndPage();
  seam_.EndDocument();
  seam_.DeleteContext();

  const std::string written = Output();
  EXPECT_TRUE(written.starts_with("%!PS-Adobe")) << written.substr(0, 40);
  EXPECT_NE(written.find("%%Page: 1"), std::string::npos);
  EXPECT_EQ(written.find("%%Page: 2"), std::string::npos);
}

TEST_F(GdiPrintSeamTest, LandscapeTurnsThePage) {
  seam_.PrepareSettings({false, 9, 0, 0}, print::Orientation::kLandscape);
  ASSERT_TRUE(seam_.CreateContext(WideToGbk(output_.wstring()).value()));
  const print::PageGeometry page = seam_.Geometry();
  EXPECT_GT(page.physical_width, page.physical_height);
}

TEST_F(GdiPrintSeamTest, AnAbortedJobPrintsNothing) {
  seam_.PrepareSettings({true, 0, 0, 0}, print::Orientation::kPortrait);
  ASSERT_TRUE(seam_.CreateContext(WideToGbk(output_.wstring()).value()));
  ASSERT_TRUE(seam_.StartDocument("工资汇总"));
  ASSERT_TRUE(seam_.StartPage());
  seam_.DrawText(0, 0, "作废");
  seam_.AbortDocument();
  seam_.DeleteContext();
  EXPECT_EQ(Output().find("%%Page: 1"), std::string::npos);
}

}  // namespace
}  // namespace sr::win32
