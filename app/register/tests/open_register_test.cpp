// What Open does with a file before it shows it: a file it refuses is left exactly as it was,
// and so is the register on screen, unsaved changes and all; a register that may be read but
// not written opens for viewing, says so, and can still be saved elsewhere.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/register/register_storage.h"
#include "app/tests/other_user.h"
#include "app/tests/register_test_files.h"
#include "app/tests/scenario_support.h"
#include "base/gbk.h"
#include "platform/fs/real_file_system.h"
#include "runtime/recdb/coding.h"

namespace sr::app {
namespace {

std::filesystem::path Native(const std::string& folder, const char8_t* name) {
  return std::filesystem::path(folder) / std::filesystem::path(name);
}

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A record database of three fields holding two records.
void MakeThreeFieldFile(const std::filesystem::path& path) {
  const std::string gbk = FromUtf8(path.string());
  std::vector<recdb::FieldDescriptor> fields(3);
  fields[0] = {"编号", recdb::FieldType::kText, 0, 10};
  fields[1] = {"姓名", recdb::FieldType::kText, 0, 10};
  fields[2] = {"工资", recdb::FieldType::kDouble, 0, 0};
  testing::MakeDatabase(gbk, fields);
  DatabaseTable table(fs::RealFileSystem());
  ASSERT_TRUE(table.OpenDatabase(gbk, ""));
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(table.AppendBlankRecord());
    ASSERT_TRUE(table.WriteField(2, Value::FromText("某人")));
  }
}

// A register of `people` people, numbered and named, each with a base pay.
void MakePeopleRegister(const std::filesystem::path& path, int people) {
  const std::string gbk = FromUtf8(path.string());
  testing::MakeDatabase(gbk, testing::RelayFields());
  DatabaseTable table(fs::RealFileSystem());
  ASSERT_TRUE(table.OpenDatabase(gbk, ""));
  ASSERT_TRUE(table.HoldWholeDatabase());
  for (int i = 1; i <= people; ++i) {
    ASSERT_TRUE(table.AppendBlankRecord());
    ASSERT_TRUE(table.WriteField(1, Value::FromText(std::to_string(i))));
    ASSERT_TRUE(table.WriteField(2, Value::FromText("某人" + std::to_string(i))));
    ASSERT_TRUE(table.WriteField(3, Value::Double(5000 + i)));
  }
  table.ReleaseWholeDatabase();
}

// "cut FILE N": the file loses its last N bytes, as a copy cut short would.
void AddCutLine(scenario::Runner& runner) {
  runner.AddAction("cut", [](scenario::Runner&, const scenario::Line& line) {
    const std::filesystem::path path(ToUtf8(scenario::Runner::Arg(line, 1)));
    std::filesystem::resize_file(
        path, std::filesystem::file_size(path) - scenario::Runner::IntArg(line, 2));
  });
}

// The register 工资.dat of one person, 001 张三, saved and shown.
const std::u8string kSavedRegister = u8R"(
make-relay
menu 文件 新建
enter 1 0 001
enter 1 1 张三
choose-file 工资.dat
menu 文件 保存
)";

class OpenRegisterTest : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = testing::MakeTempFolder("open_register"); }

  std::string folder_;
};

TEST_F(OpenRegisterTest, RefusedFileIsNotChangedAndTheShownRegisterKeepsItsChanges) {
  // Two files that an open for writing would repair: one with a partial record at its end, one
  // whose header counts more records than it holds.
  const auto trailing = Native(folder_, u8"尾部.dat"), short_file = Native(folder_, u8"短.dat");
  MakeThreeFieldFile(trailing);
  MakeThreeFieldFile(short_file);
  std::ofstream(trailing, std::ios::binary | std::ios::app) << "half a record";
  std::filesystem::resize_file(short_file, std::filesystem::file_size(short_file) - 10);
  const std::string trailing_bytes = Bytes(trailing), short_bytes = Bytes(short_file);
  std::string transcript;
  const int code = testing::RunScript(folder_, kSavedRegister + u8R"(
choose-file 尾部.dat
menu 文件 打开
expect message "无法打开文件 尾部.dat：不是工资表文件（应有 22 个字段：第 1、2、22 个为文本，其余为数值）" 打开文件
choose-file 短.dat
menu 文件 打开
expect message "无法打开文件 短.dat：不是工资表文件（应有 22 个字段：第 1、2、22 个为文本，其余为数值）" 打开文件
toolbar 修改
enter 1 1 李四
choose-file 短.dat
menu 文件 打开
expect message "无法打开文件 短.dat：不是工资表文件（应有 22 个字段：第 1、2、22 个为文本，其余为数值）" 打开文件
expect title 工资.dat
expect cell 1 1 李四
answer no
menu 文件 退出
expect message " 是否要保存所作的修改? " 保存文件提示
expect exit 0
)",
                                      &transcript);
  EXPECT_EQ(code, 0) << transcript;
  EXPECT_TRUE(Bytes(trailing) == trailing_bytes) << "the file with a partial record was changed";
  EXPECT_TRUE(Bytes(short_file) == short_bytes) << "the file missing records was changed";
}

// A header whose record size is not the one its fields describe is damaged, not short: cutting
// the file to "complete" records of that size would throw 2,000 people away.
TEST_F(OpenRegisterTest, HeaderContradictingItsFieldsIsRefusedAndNotCut) {
  const auto path = Native(folder_, u8"两千人.dat");
  MakePeopleRegister(path, 2000);
  const std::string sound = Bytes(path);
  for (const int32_t record_size : {2147483647, 297, 5000, 600000}) {
    SCOPED_TRACE(record_size);
    std::string damaged = sound;
    recdb::PutI32(reinterpret_cast<uint8_t*>(&damaged[24]), record_size);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << damaged;
    std::string transcript;
    const int code = testing::RunScript(folder_, u8R"(
make-relay
choose-file 两千人.dat
menu 文件 打开
expect message-with "无法打开文件 两千人.dat：" "regdb check"
expect no-message
)",
                                        &transcript);
    EXPECT_EQ(code, 0) << transcript;
    EXPECT_TRUE(Bytes(path) == damaged) << "the damaged register was changed";
  }
}

TEST_F(OpenRegisterTest, RegisterCutShortIsRepairedAfterACopyIsKept) {
  std::string transcript;
  const int code = testing::RunScript(folder_, kSavedRegister + u8R"(
enter 2 0 002
enter 2 1 李四
menu 文件 保存
menu 文件 新建
cut 工资.dat 10
choose-file 工资.dat
menu 文件 打开
expect message-with 工资.dat 修复 工资.dat.bak
expect no-message
expect title 工资.dat
expect text 标签1 "表内人数: 2 人"
expect cell 2 1 李四
expect records 工资.dat 2
)",
                                      &transcript, AddCutLine);
  EXPECT_EQ(code, 0) << transcript;
}

// The file passes the check, but another program holds it so that it cannot be opened for
// writing: the register shown stays, and so does the mark of the changes the prompt was told to
// drop, so Exit still asks about them.
TEST_F(OpenRegisterTest, OpenFailingAfterThePromptKeepsTheChangesMarked) {
  std::unique_ptr<DatabaseTable> holder;
  std::string transcript;
  const int code = testing::RunScript(
      folder_, kSavedRegister + u8R"(
choose-file 其他.dat
menu 文件 另存为
choose-file 工资.dat
menu 文件 打开
toolbar 修改
enter 1 1 王五
hold-for-reading 其他.dat
answer no
choose-file 其他.dat
menu 文件 打开
expect message " 是否要保存所作的修改? " 保存文件提示
expect message "无法打开文件 其他.dat：访问文件时产生共享冲突" 打开文件
expect title 工资.dat
expect cell 1 1 王五
answer no
menu 文件 退出
expect message " 是否要保存所作的修改? " 保存文件提示
expect exit 0
)",
      &transcript, [&holder](scenario::Runner& runner) {
        // Another program reading the file and letting nobody write it (share mode 3).
        runner.AddAction(
            "hold-for-reading", [&holder](scenario::Runner&, const scenario::Line& line) {
              holder = std::make_unique<DatabaseTable>(fs::RealFileSystem());
              OpenOptions options;
              options.read_only = 1;
              options.share_mode = 3;
              ASSERT_TRUE(holder->OpenDatabase(scenario::Runner::Arg(line, 1), "", options));
            });
      });
  EXPECT_EQ(code, 0) << transcript;
}

// How the register is kept from its user: a folder that takes no files, a file of mode 444,
// a file of another owner.
enum class Barrier { kReadOnlyFolder, kReadOnlyFile, kOtherOwner };

class ViewOnlyTest : public OpenRegisterTest, public ::testing::WithParamInterface<Barrier> {};

// Root writes any file, so the program runs as another user here, as a clerk would.
TEST_P(ViewOnlyTest, RegisterThatMayNotBeWrittenOpensForViewingAndSavesElsewhere) {
  if (GetParam() == Barrier::kOtherOwner && !testing::CanChangeOwners()) {
    GTEST_SKIP() << "only root can make a file another user's";
  }
  const auto folder = Native(folder_, u8"存档"), file = Native(folder_, u8"存档/工资.dat");
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  std::string transcript;
  ASSERT_EQ(testing::RunScript(folder_,
                               u8R"(
make-relay
menu 文件 新建
enter 1 0 001
enter 1 1 张三
enter 1 2 100
choose-file 存档/工资.dat
menu 文件 保存
expect no-message
)",
                               &transcript),
            0)
      << transcript;
  // The program directory and a folder for the copy are the user's; the register is not.
  ASSERT_EQ(::chmod(folder_.c_str(), 0777), 0);
  ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
  switch (GetParam()) {
    case Barrier::kReadOnlyFolder:
      ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
      break;
    case Barrier::kReadOnlyFile:
      ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
      ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
      if (testing::CanChangeOwners()) {
        ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
      }
      break;
    case Barrier::kOtherOwner:
      ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
      ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
      break;
  }
  const std::string before = Bytes(file);
  const int code = testing::RunAsUser([&] {
    const int result = testing::RunScript(folder_,
                                          u8R"(
choose-file 存档/工资.dat
menu 文件 打开
expect message "文件 存档/工资.dat 只能查看：程序没有写入这个文件或它所在文件夹的权限（文件只读、文件夹或磁盘不可写，或文件属于别的用户）。要保存修改，请用“另存为”保存到别处。" 打开文件 ok warning
expect title 存档/工资.dat
expect cell 1 1 张三
toolbar 修改
enter 1 2 250
menu 文件 保存
expect message "无法保存文件 存档/工资.dat：程序没有写入这个文件或它所在文件夹的权限（文件只读、文件夹或磁盘不可写，或文件属于别的用户）。要保存修改，请用“另存为”保存到别处。" 保存文件
expect title 存档/工资.dat
choose-file 副本.dat
menu 文件 另存为
expect no-message
expect title 副本.dat
expect record 副本.dat 1 001 张三 250
)",
                                          &transcript);
    if (result != 0) std::cerr << transcript;
    return result;
  });
  EXPECT_EQ(code, 0) << "the transcript is above";
  EXPECT_TRUE(Bytes(file) == before) << "the register was changed";
  ::chmod(folder.c_str(), 0755);  // so the folder can be removed
}

INSTANTIATE_TEST_SUITE_P(Barriers, ViewOnlyTest,
                         ::testing::Values(Barrier::kReadOnlyFolder, Barrier::kReadOnlyFile,
                                           Barrier::kOtherOwner));

}  // namespace
}  // namespace sr::app
