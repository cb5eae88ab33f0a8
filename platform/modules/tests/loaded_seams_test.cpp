// The stand-ins of export and import load the modules that the build put beside the program and
// hand every call on (printing's is tested with Qt, in program/tests).
#include "platform/modules/loaded_seams.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/posix/shared_module.h"

namespace sr::modules {
namespace {

namespace fs = std::filesystem;

bool Loaded(const char* module) {
  const std::string path = std::string(SR_MODULE_DIR) + "/" + module;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);  // drops only the reference NOLOAD added
  return handle != nullptr;
}

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(LoadedSeamsTest, WorkbookReaderReadsThroughItsModule) {
  LoadedWorkbookReader reader;
  EXPECT_FALSE(Loaded("libsr_xlsx_module.so")) << "loaded before first use";
  xlsx::SheetRows rows;
  xlsx::ReadFailure error;
  ASSERT_TRUE(
      reader.ReadFirstSheet(Bytes(fs::path(SR_XLSX_FIXTURES) / "libreoffice.xlsx"), &rows, &error))
      << error.detail;
  EXPECT_TRUE(Loaded("libsr_xlsx_module.so"));
  ASSERT_EQ(rows.size(), 3u);
  ASSERT_GE(rows[1].size(), 3u);
  EXPECT_EQ(rows[1][2].kind, xlsx::SheetCell::Kind::kNumber);
  // The module's own failure comes back as it is.
  EXPECT_FALSE(reader.ReadFirstSheet("not a workbook", &rows, &error));
  EXPECT_FALSE(error.detail.empty());
  EXPECT_EQ(error.detail.find("cannot be loaded"), std::string::npos) << error.detail;
}

TEST(LoadedSeamsTest, SheetAutomationAnswersThroughItsModule) {
  LoadedSheetAutomation spreadsheet;
  EXPECT_FALSE(Loaded("libsr_sheet_module.so")) << "loaded before first use";
  automation::DispatchRef object;
  // The module's answer to a class it does not serve, not the loader's.
  const automation::Status status = spreadsheet.CreateObject("Word.Application", &object);
  EXPECT_EQ(status.code, automation::kInvalidClassString);
  EXPECT_FALSE(object);
  EXPECT_TRUE(Loaded("libsr_sheet_module.so"));
}

TEST(SharedModuleTest, AMissingModuleOrEntryIsNamedInTheError) {
  std::string error;
  EXPECT_EQ(posix::LoadModuleFunction("libsr_no_such_module.so", "Entry", "/nonexistent", &error),
            nullptr);
  EXPECT_NE(error.find("libsr_no_such_module.so"), std::string::npos) << error;
  EXPECT_EQ(posix::LoadModuleFunction("libsr_xlsx_module.so", "NoSuchEntry", SR_MODULE_DIR, &error),
            nullptr);
  EXPECT_NE(error.find("NoSuchEntry"), std::string::npos) << error;
  EXPECT_NE(
      posix::LoadModuleFunction("libsr_xlsx_module.so", "SrWorkbookReader", SR_MODULE_DIR, &error),
      nullptr);
}

}  // namespace
}  // namespace sr::modules
