// Files that no register needs, made here by small generators: each is refused with a message
// that names the bound it passes, quickly and in little memory, and the register on the screen
// keeps what it held. A header with one row of very many commas takes time in step with its size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
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

// Files that would import something other than what they show are refused, naming the cell: a
// formula whose value the workbook does not hold (as openpyxl writes it), GBK rows with a UTF-8
// row among them, a NUL inside a text, a text longer than the register's field. Nothing changes.
TEST(ImportRefusalsTest, WhatWouldImportWrongIsRefusedNamingTheCell) {
  const std::string folder = testing::MakeTempFolder("import_refusals");
  const fs::path dir(folder);
  auto write = [&](const char* name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  };
  write("mixed.csv", "编号,姓名\n1,张三\n2," + U8(u8"李四") + "\n3,王五\n");  // GBK, one row UTF-8
  write("zero.csv", U8(u8"编号,姓名\n1,张") + std::string(1, '\0') + U8(u8"三\n"));
  write("long.csv", U8(u8"编号,姓名\n1,一二三四五六七八九十十\n"));  // 22 bytes in GBK, the field 20
  struct Case {
    const char* file;
    const char8_t* says;
    bool preview;  // the preview opens too, showing the problem
  };
  std::vector<Case> cases = {
      {"mixed.csv", u8"文件混用了两种编码：第 1 行第 1 列是 GBK，第 3 行第 2 列是 UTF-8", false},
      {"zero.csv", u8"第 2 行第 2 列（姓名）中有空字符（NUL）", true},
      {"long.csv", u8"第 2 行第 2 列（姓名）有 22 字节，超过了工资表这一栏能保存的 20 字节", true},
  };
#ifndef _WIN32
  const fs::path script = dir / "make.py";
  std::ofstream(script) << U8(u8R"py(
import os, sys, openpyxl
for name, row in (('amount.xlsx', ['1', '甲', '=1+2']), ('name.xlsx', ['2', '=A2&"x"'])):
    wb = openpyxl.Workbook()
    wb.active.append(['编号', '姓名', '基本工资'])
    wb.active.append(row)
    wb.save(os.path.join(sys.argv[1], name))
)py");
  const std::string command = "/usr/bin/python3 '" + script.string() + "' '" + folder + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  cases.insert(cases.end(), {{"amount.xlsx", u8"第 2 行第 3 列（基本工资）是公式，但文件中没有它算出的值：请先在电子表格程序", true},
                             {"name.xlsx", u8"第 2 行第 2 列（姓名）是公式，但文件中没有它算出的值", true}});
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::u8string file(c.file, c.file + strlen(c.file));
    std::string transcript;
    EXPECT_EQ(testing::RunScript(
                  folder, u8"make-relay\nmenu 文件 新建\nenter 1 1 甲\nchoose-file " + file +
                              (c.preview ? u8"\nmodal\n  expect enabled 按钮追加 no\n  press 取消\nend"
                                         : u8"") +
                              u8"\nmenu 文件 导入\nexpect message-with \"无法导入 " + file + u8"：\" \"" +
                              c.says + u8"\"\nexpect cell 1 1 甲\nexpect cell 2 1 \"\"\n",
                  &transcript),
              0)
        << transcript;
  }
}

}  // namespace
}  // namespace sr::app
