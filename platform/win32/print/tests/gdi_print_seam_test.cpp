// The print seam over GDI with a PostScript printer that the test installs into Wine's prefix
// (Wine's own PostScript driver and a small PPD; Wine has no PDF or XPS printer of its own),
// printing to a file.
#include "platform/win32/print/gdi_print_seam.h"

#include <gtest/gtest.h>
#include <winspool.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/text/wide_text.h"

namespace sr::win32 {
namespace {

const wchar_t kPrinter[] = L"SalaryRegister Test PostScript";
const wchar_t kDriver[] = L"Wine PostScript Driver";
const wchar_t kEnvironment[] = L"Windows x64";

std::wstring BesideThisProgram(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

// Adds the driver with its PPD and the printer on FILE: (both kept for later runs; adding them
// again changes nothing) and makes the printer the default.
bool InstallTestPrinter() {
  wchar_t folder[MAX_PATH];
  DWORD needed = 0;
  GetPrinterDriverDirectoryW(nullptr, const_cast<wchar_t*>(kEnvironment), 1,
                             reinterpret_cast<BYTE*>(folder), sizeof folder, &needed);
  const std::wstring ppd = std::wstring(folder) + L"\\srtest.ppd";
  CopyFileW(BesideThisProgram(L"test_printer.ppd").c_str(), ppd.c_str(), FALSE);
  DRIVER_INFO_3W driver{};
  driver.cVersion = 3;
  driver.pName = const_cast<wchar_t*>(kDriver);
  driver.pEnvironment = const_cast<wchar_t*>(kEnvironment);
  driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
  driver.pDataFile = const_cast<wchar_t*>(ppd.c_str());
  driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
  AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver));
  PRINTER_INFO_2W printer{};
  printer.pPrinterName = const_cast<wchar_t*>(kPrinter);
  printer.pPortName = const_cast<wchar_t*>(L"FILE:");
  printer.pDriverName = const_cast<wchar_t*>(kDriver);
  printer.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
  printer.pDatatype = const_cast<wchar_t*>(L"RAW");
  if (HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer))) {
    ClosePrinter(added);
  } else if (GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) {
    return false;
  }
  return SetDefaultPrinterW(kPrinter);
}

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
  EXPECT_EQ(seam_.Device().printer, WideToGbk(kPrinter).value());

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
