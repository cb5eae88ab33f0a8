// The settings window leaves the relay file open under "打开的数据" while the register is
// untitled. The first Save must still create the chosen file and never store people in the
// relay file, and Sort must not sort the relay file.
#include <gtest/gtest.h>

#include "app/register/register_storage.h"
#include "app/tests/register_test_files.h"
#include "app/tests/scenario_support.h"
#include "runtime/recdb/process_databases.h"

namespace sr::app {
namespace {

TEST(RelayLeftOpenTest, FirstSaveCreatesTheChosenFileAndSortLeavesTheRelayAlone) {
  const std::string folder = testing::MakeTempFolder("relay_left_open");
  std::string transcript;
  const int code = testing::RunScript(
      folder,
      u8R"(
make-relay
menu 文件 新建
settings-window-opens-relay
enter 1 0 001
enter 1 1 张三
click 1 1
menu 编辑 排序
expect message "没有打开的工资表文件：请先保存或打开工资表，再排序。" 排序
expect file lsk1.dat no
choose-file 工资.dat
menu 文件 保存
expect no-message
expect title 工资.dat
expect records 工资.dat 2
expect record 工资.dat 1 001 张三
expect records ZhongZhuan.rgq 0
click 1 0
menu 编辑 排序
expect no-message
expect records ZhongZhuan.rgq 0
expect record 工资.dat 1 "" ""
expect record 工资.dat 2 001 张三
)",
      &transcript, [](scenario::Runner& runner) {
        // What the settings window does to the program's databases on an untitled register.
        runner.AddAction("settings-window-opens-relay",
                         [](scenario::Runner&, const scenario::Line&) {
                           ASSERT_TRUE(OpenDatabase(kRelayFileName, kRegisterAlias));
                         });
      });
  EXPECT_EQ(code, 0) << transcript;
}

}  // namespace
}  // namespace sr::app
