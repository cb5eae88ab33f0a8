// Files that no register needs, made here by small generators: each is refused with a message
// that names the bound it passes, quickly and in little memory, and the register on the screen
// keeps what it held. A header with one row of very many commas takes time in step with its size.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/tests/register_test_files.h"
#include "app/tests/scenario_support.h"

namespace sr::app {
namespace {

namespace fs = std::filesystem;

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

#ifdef __linux__
int64_t StatusKb(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with(key + ":")) return std::atoll(line.c_str() + key.size() + 1);
  }
  return 0;
}
#endif

// Runs the script: its outcome, the processor time and the growth of the peak resident memory
// (Linux).
struct Measured {
  int code = 0;
  std::string transcript;
  int64_t peak_growth = 0;
  double seconds = 0;
};

Measured RunMeasured(const std::string& folder, const std::u8string& script) {
  Measured run;
#ifdef __linux__
  std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
  const int64_t before = StatusKb("VmHWM");
#endif
  const std::clock_t start = std::clock();
  run.code = testing::RunScript(folder, script, &run.transcript);
  run.seconds = double(std::clock() - start) / CLOCKS_PER_SEC;  // processor time
#ifdef __linux__
  run.peak_growth = (StatusKb("VmHWM") - before) * 1024;
#endif
  return run;
}

// Workbooks from openpyxl, and two whose first sheet swells when inflated: padded with spaces (a
// zip bomb) or with random letters (big, though compressed only a few times).
const char8_t kMakeWorkbooks[] = u8R"py(
import os, sys, zipfile, openpyxl
folder = sys.argv[1]
def book(name, fill):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.append(['编号', '姓名'])
    fill(ws)
    wb.save(os.path.join(folder, name))
book('base.xlsx', lambda ws: ws.append(['1', 'a']))
book('xfd.xlsx', lambda ws: [ws.cell(row=r, column=16384, value=1) for r in range(2, 1002)])
book('row6000.xlsx', lambda ws: ws.cell(row=6000, column=1, value=1))
book('long.xlsx', lambda ws: ws.append(['1', 'x' * 2000]))
def swell(name, chunks):
    with zipfile.ZipFile(os.path.join(folder, 'base.xlsx')) as src, \
         zipfile.ZipFile(os.path.join(folder, name), 'w', zipfile.ZIP_DEFLATED, compresslevel=1) as out:
        for item in src.infolist():
            data = src.read(item.filename)
            if item.filename != 'xl/worksheets/sheet1.xml':
                out.writestr(item.filename, data)
                continue
            head, tail = data.split(b'<sheetData>')
            with out.open(item.filename, 'w') as part:
                part.write(head + b'<sheetData>')
                for chunk in chunks():
                    part.write(chunk)
                part.write(tail)
swell('bomb.xlsx', lambda: (b' ' * (1 << 20) for _ in range(120)))
letters = bytes(b'abcd'[i % 4] for i in range(256))
swell('big.xlsx', lambda: [b'<!--'] + [os.urandom(1 << 20).translate(letters) for _ in range(33)] + [b'-->'])
)py";

TEST(ImportLimitsTest, FilesBeyondABoundAreRefusedNamingItQuicklyAndInLittleMemory) {
  const std::string folder = testing::MakeTempFolder("import_limits");
  const fs::path dir(folder);
  auto write = [&](const char* name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  };
  std::string rows = U8(u8"编号,姓名\n");
  for (int i = 1; i <= 5001; ++i) rows += std::to_string(i) + ",a\n";
  write("rows.csv", rows);
  write("columns.csv", U8(u8"编号,姓名\n1,a") + std::string(63, ',') + "x\n");
  write("cell.csv", U8(u8"编号,姓名\n1,") + std::string(2000, 'a') + "\n");
  write("big.csv", "");
#ifdef _WIN32
  fs::resize_file(dir / "big.csv", (16 << 20) + 1);
#else
  fs::resize_file(dir / "big.csv", int64_t{64} << 30);  // sparse: nothing of it is on the disk
#endif
  write("takeover.csv", std::string(4 << 20, ','));
  // The take-over import reads its file only when the people file exists.
  const char8_t* kTakeOver = u8"个税 导入往月数据";
  const char8_t* kPeople =
      u8"modal\n  enter 1 0 1\n  enter 1 1 李四\n  enter 1 3 110101198001010029\n  press 保存\nend\n"
      u8"menu 个税 人员信息\n";
  struct Case {
    const char* file;
    const char8_t* says;
    const char8_t* menu = u8"文件 导入";
    const char8_t* before = u8"";
  };
  std::vector<Case> cases = {
      {"rows.csv", u8"第 5002 行第 1 列有数据，超过了导入的上限 5001 行"},
      {"columns.csv", u8"第 2 行第 65 列有数据，超过了导入的上限：每行 64 列"},
      {"cell.csv", u8"第 2 行第 2 列的内容超过了导入的上限 1024 字节"},
      {"takeover.csv", u8"第 1 行：应有 17 项，实有 4194305 项", kTakeOver, kPeople},
  };
#ifndef _WIN32
  const fs::path script = dir / "make.py";
  std::ofstream(script) << U8(kMakeWorkbooks);
  const std::string command = "/usr/bin/python3 '" + script.string() + "' '" + folder + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  cases.insert(cases.end(), {
      {"xfd.xlsx", u8"第 2 行第 16384 列有数据，超过了导入的上限：每行 64 列"},
      {"row6000.xlsx", u8"第 6000 行第 1 列有数据，超过了导入的上限 5001 行"},
      {"long.xlsx", u8"第 2 行第 2 列的内容超过了导入的上限 1024 字节"},
      {"bomb.xlsx", u8"超过了导入的上限 100 倍"},
      {"big.xlsx", u8"解压后超过了导入的上限 32 MB"},
  });
#endif
  cases.push_back({"big.csv", u8"文件大小超过了导入的上限 16 MB", kTakeOver, kPeople});
  cases.push_back({"big.csv", u8"文件大小超过了导入的上限 16 MB"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const int64_t size = std::min<int64_t>(fs::file_size(dir / c.file), 16 << 20);
    const Measured run = RunMeasured(
        folder, u8"make-relay\n" + std::u8string(c.before) +
                    u8"menu 文件 新建\nenter 1 1 甲\nchoose-file " +
                    std::u8string(c.file, c.file + strlen(c.file)) + u8"\nmenu " + c.menu +
                    u8"\nexpect message-with \"" + c.says +
                    u8"\"\nexpect no-window 导入预览\nexpect cell 1 1 甲\nexpect cell 2 0 \"\"\n");
    EXPECT_EQ(run.code, 0) << run.transcript;
    EXPECT_LT(run.seconds, 2);
    EXPECT_LT(run.peak_growth, (32 << 20) + 4 * size);
  }
  // A row of 200,000 commas: read in time and memory in step with it, and nothing to import.
  write("commas.csv", U8(u8"编号,姓名\n") + std::string(200000, ',') + "\n");
  const Measured run = RunMeasured(folder, u8R"s(make-relay
menu 文件 新建
choose-file commas.csv
modal
  expect text 标签1 "文件 commas.csv：0 行。追加：接在表内已有的行之后；替换：换掉表内所有的行。"
  press 取消
end
menu 文件 导入
)s");
  EXPECT_EQ(run.code, 0) << run.transcript;
  EXPECT_LT(run.seconds, 2);
  EXPECT_LT(run.peak_growth, 32 << 20);
}

}  // namespace
}  // namespace sr::app
