#include "app/tests/register_test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "platform/fs/real_file_system.h"
#include "runtime/convert/conversions.h"
#include "runtime/recdb/create_file.h"
#include "tools/datagen/content.h"

namespace sr::app::testing {

std::string MakeTempFolder(const std::string& name) {
  std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) /
                                 (name + "_" + std::to_string(std::random_device()()) + "_" +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.generic_string();  // '/' between folders, as the file seam hands paths back
}

std::vector<recdb::FieldDescriptor> RelayFields() { return datagen::RelayFields(); }

void MakeDatabase(const std::string& path, const std::vector<recdb::FieldDescriptor>& fields) {
  ASSERT_EQ(recdb::CreateDatabaseFile(fs::RealFileSystem(), path, fields, nullptr, 0), 0) << path;
}

void FillRegister(SalaryRegister& salary_register, int people, const Text& prefix, double base) {
  salary_register.SetRowCount(people + 1);
  for (int row = 1; row <= people; ++row) {
    salary_register.SetCellText(row, 0, std::to_string(row));
    salary_register.SetCellText(row, 1, prefix + std::to_string(row));
    salary_register.SetAmount(row, 2, row * 10 + base);
  }
}

}  // namespace sr::app::testing
