#include "platform/sheet/tests/stub_spreadsheet.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/sheet/spreadsheet_program.h"

namespace sr::sheet::testing {

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  if (const char* old = getenv(name)) old_ = old;
  setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (old_) {
    setenv(name_, old_->c_str(), 1);
  } else {
    unsetenv(name_);
  }
}

StubSpreadsheet::StubSpreadsheet() {
  char pattern[] = "/tmp/sheet-test-XXXXXX";
  if (mkdtemp(pattern)) dir_ = pattern;
  fs::path script = dir_ / "open.sh";
  std::ofstream(script) << "#!/bin/sh\ncp \"$1\" \"" << copy().string() << "\"\necho \"$1\" > \""
                        << (dir_ / "opened").string() << "\"\n";
  fs::permissions(script, fs::perms::owner_all);
  tmp_.emplace("TMPDIR", dir_.string());
  fs::create_directories(documents());
  home_.emplace("HOME", (dir_ / "home").string());
  command_.emplace(kCommandVariable, script.string());
}

StubSpreadsheet::~StubSpreadsheet() {
  command_.reset();
  home_.reset();
  tmp_.reset();
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

bool StubSpreadsheet::opened() const {
  std::error_code ignored;
  return fs::exists(dir_ / "opened", ignored) && !ReadFile(dir_ / "opened").empty();
}

std::string StubSpreadsheet::WaitForOpened() const {
  // The stub runs detached; poll for its note (no <chrono>: it does not build as GBK).
  for (int i = 0; i < 500 && !opened(); ++i) usleep(10 * 1000);
  if (!opened()) return std::string();
  std::string path = ReadFile(dir_ / "opened");
  return path.substr(0, path.find('\n'));
}

void StubSpreadsheet::Forget() const { fs::remove(dir_ / "opened"); }

std::string PythonWithOpenpyxl() {
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    std::string check = std::string(python) + " -c 'import openpyxl' 2>/dev/null";
    if (std::system(check.c_str()) == 0) return python;
  }
  return std::string();
}

namespace {

// Runs a python program with `ws`, the first sheet of `xlsx`, and returns what it printed.
bool RunOnSheet(const std::string& python, const fs::path& xlsx, const std::string& program,
                const char* extension, std::string* listing) {
  fs::path out = xlsx;
  out.replace_extension(extension);
  std::string command = python + " -c \"import openpyxl\nws = openpyxl.load_workbook('" +
                        xlsx.string() + "').active\n" + program + "\" > '" + out.string() + "'";
  if (std::system(command.c_str()) != 0) return false;
  *listing = ReadFile(out);
  return true;
}

}  // namespace

bool ListCells(const std::string& python, const fs::path& xlsx, std::string* listing) {
  return RunOnSheet(python, xlsx,
                    "for row in ws.iter_rows():\n for c in row:\n  if c.value is not None: "
                    "print(c.coordinate, type(c.value).__name__, c.value)",
                    ".cells", listing);
}

bool ListFormats(const std::string& python, const fs::path& xlsx, std::string* listing) {
  return RunOnSheet(python, xlsx,
                    "print('freeze', ws.freeze_panes)\n"
                    "for k, d in sorted(ws.column_dimensions.items()):\n"
                    " if d.width: print('width', k, round(d.width, 1))\n"
                    "for row in ws.iter_rows():\n for c in row:\n  if c.value is not None: "
                    "print(c.coordinate, c.number_format, 'bold' if c.font.b else 'plain')",
                    ".formats", listing);
}

}  // namespace sr::sheet::testing
