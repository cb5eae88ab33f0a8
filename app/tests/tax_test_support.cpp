#include "app/tests/tax_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/tax_rules/tax_table.h"
#include "app/tests/register_test_files.h"
#include "base/gbk.h"
#include "platform/fs/real_file_system.h"
#include "runtime/convert/conversions.h"
#include "runtime/recdb/create_file.h"
#include "tools/datagen/content.h"

namespace sr::app::test {

std::vector<TaxRow> InstalledTable() {
  std::vector<TaxRow> rows;
  for (const datagen::TaxRecord& record : datagen::TaxTableRecords()) {
    TaxRow row{};
    for (int f = 0; f < 5; ++f) row[f] = record[f];
    rows.push_back(row);
  }
  return rows;
}

std::vector<TaxRow> ThreeBracketTable() {
  std::vector<TaxRow> rows = {{3500, 1, 1500, 3, 0}, {0, 1500, 4500, 10, 105},
                              {0, 4500, 0, 20, 555}};
  rows.resize(kTaxRecords, TaxRow{});
  return rows;
}

std::vector<Text> DefaultTitles() {
  std::vector<Text> titles;
  for (const recdb::FieldDescriptor& field : datagen::RelayFields()) titles.push_back(field.name);
  return titles;
}

TaxProgram::TaxProgram(fs::FileSystem* files) {
  fs::FileSystem& program_files = files != nullptr ? *files : fs::RealFileSystem();
  directory_ = testing::MakeTempFolder("tax_test");
  old_directory_ = std::filesystem::current_path().string();
  fs::RealFileSystem().SetCurrentDirectory(directory_);
  seams_ = std::make_unique<Seams>(
      Seams{backend_, program_files, printer_, automation_, xlsx::RealWorkbookReader()});
  databases_ = std::make_unique<DatabaseTable>(program_files);
  framework_ = std::make_unique<forms::Framework>(backend_);
  window_ = std::make_unique<MainWindow>(*framework_, *seams_, *databases_, state_);
  context_ = std::make_unique<AppContext>(AppContext{*framework_, *seams_, *databases_, state_,
                                                     window_->form(), window_->salary_register(),
                                                     &window_->history()});
}

TaxProgram::~TaxProgram() {
  databases_->CloseAllDatabases();
  fs::RealFileSystem().SetCurrentDirectory(old_directory_);
  std::filesystem::remove_all(Native(directory_));
}

void TaxProgram::WriteTaxTable(const std::vector<TaxRow>& rows, int text_field, const Text& text) {
  std::vector<recdb::FieldDescriptor> fields(kTaxFields);
  const char* names[] = {"起征点", "下限", "上限", "税率", "速算扣除数", "说明"};
  for (int f = 0; f < kTaxFields; ++f) {
    fields[f].name = names[f];
    const bool is_text = f == kTaxFields - 1 || f + 1 == text_field;
    fields[f].type = is_text ? recdb::FieldType::kText : recdb::FieldType::kInt;
    fields[f].text_width = is_text ? 40 : 0;
  }
  databases_->CloseDatabase(kTaxTableAlias);
  const Text path = PathOf(kTaxTableFileName);
  std::filesystem::remove(Native(path));
  auto cipher = std::make_shared<recdb::PageCipher>(kTaxTablePassword);
  ASSERT_EQ(recdb::CreateDatabaseFile(fs::RealFileSystem(), path, fields, cipher, 45000), 0);
  DatabaseTable table(fs::RealFileSystem());
  OpenOptions options = OpenOptions::WithPassword(kTaxTablePassword);
  ASSERT_TRUE(table.OpenDatabase(path, "", options));
  for (const TaxRow& row : rows) {
    ASSERT_TRUE(table.AppendBlankRecord());
    for (int f = 1; f <= 5; ++f) {
      const Value value = f == text_field ? Value::FromText(text)
                                          : Value::Int(static_cast<int32_t>(row[f - 1]));
      ASSERT_TRUE(table.WriteField(f, value));
    }
  }
  table.CloseAllDatabases();
}

void TaxProgram::WriteRegisterFile(const char* name, const std::vector<Text>& titles) {
  std::vector<recdb::FieldDescriptor> fields(titles.size());
  for (size_t f = 0; f < titles.size(); ++f) {
    fields[f].name = titles[f];
    const bool is_text = f < 2 || f + 1 == titles.size();
    fields[f].type = is_text ? recdb::FieldType::kText : recdb::FieldType::kDouble;
    fields[f].text_width = is_text ? 20 : 0;
  }
  const Text path = PathOf(name);
  std::filesystem::remove(Native(path));
  ASSERT_EQ(recdb::CreateDatabaseFile(fs::RealFileSystem(), path, fields, nullptr, 45000), 0);
}

std::filesystem::path TaxProgram::Native(const Text& path) {
  const std::string utf8 = ToUtf8(path);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

void TaxProgram::SetTaxField(int record, int field, int value) {
  DatabaseTable table(fs::RealFileSystem());
  ASSERT_TRUE(table.OpenDatabase(PathOf(kTaxTableFileName), "",
                                 OpenOptions::WithPassword(kTaxTablePassword)));
  ASSERT_TRUE(table.GotoRecord(record));
  ASSERT_TRUE(table.WriteField(field, Value::Int(value)));
  table.CloseAllDatabases();
}

std::vector<TaxRow> TaxProgram::ReadTaxTable() {
  DatabaseTable table(fs::RealFileSystem());
  std::vector<TaxRow> rows;
  if (!table.OpenDatabase(PathOf(kTaxTableFileName), "",
                          OpenOptions::WithPassword(kTaxTablePassword))) {
    ADD_FAILURE() << "tax table does not open: " << LastDatabaseError();
    return rows;
  }
  for (int k = 1; k <= table.GetRecordCount(); ++k) {
    table.GotoRecord(k);
    TaxRow row{};
    for (int f = 1; f <= 5; ++f) row[f - 1] = ToNumber(table.ReadField(f));
    rows.push_back(row);
  }
  return rows;
}

std::vector<Text> TaxProgram::FieldNames(const Text& path) {
  DatabaseTable table(fs::RealFileSystem());
  std::vector<Text> names;
  if (!table.OpenDatabase(path, "")) {
    ADD_FAILURE() << "file does not open: " << LastDatabaseError();
    return names;
  }
  for (int f = 1; !table.GetFieldName(f).empty(); ++f) names.push_back(table.GetFieldName(f));
  return names;
}

void TaxProgram::Start() { framework_->LoadMain(window_->form()); }

void TaxProgram::LayOutRegister(int rows, const std::vector<Text>& titles) {
  salary_register().SetRowCount(rows + 1);
  for (size_t c = 0; c < titles.size(); ++c) {
    salary_register().SetTitle(static_cast<int>(c), titles[c]);
  }
}

void TaxProgram::SetRow(int row, const std::vector<std::pair<int, const char*>>& cells) {
  for (const auto& [column, text] : cells) {
    salary_register().SetCellText(row, column, text);
  }
}

std::vector<ui::MessageBoxSpec> TaxProgram::Messages() const {
  std::vector<ui::MessageBoxSpec> messages;
  for (const headless::ScreenEvent& event : backend_.screen_log()) {
    if (event.kind == headless::ScreenEvent::Kind::kMessageBox) messages.push_back(event.message);
  }
  return messages;
}

}  // namespace sr::app::test
