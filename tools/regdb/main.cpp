// regdb: inspect and work with record database files. Text in and out is UTF-8.
#include <iostream>
#include <string>
#include <vector>

#include "platform/fs/real_file_system.h"
#include "tools/regdb/command.h"

namespace {

constexpr char kUsage[] =
    "usage: regdb COMMAND ...\n"
    "  info FILE [--password P]                  header figures and fields\n"
    "  dump FILE [--password P]                  every record as CSV\n"
    "  check FILE [--password P] [--repair]      validate (and repair a short file, keeping\n"
    "                                            a copy as FILE.bak)\n"
    "  create FILE --field NAME:TYPE[:WIDTH] ... [--password P] [--force]\n"
    "  import FILE CSV [--password P]            append the CSV's lines as records\n"
    "  sort FILE OUT --key NAME [--key NAME ...] [--desc] [--password P] [--force]\n"
    "  rename FILE POS NAME [--password P]       rename the field at POS (from 1)\n"
    "  copy-structure FILE OUT [NAME ...] [--password P] [--force]\n"
    "types: byte short int int64 float double bool datetime subroutine text bytes memo\n"
    "(text needs WIDTH)\n";

struct Command {
  const char* name;
  int (*run)(const sr::regdb::Io&, const std::vector<std::string>&);
};

constexpr Command kCommands[] = {
    {"info", sr::regdb::RunInfo},     {"dump", sr::regdb::RunDump},
    {"check", sr::regdb::RunCheck},   {"create", sr::regdb::RunCreate},
    {"import", sr::regdb::RunImport}, {"sort", sr::regdb::RunSort},
    {"rename", sr::regdb::RunRename}, {"copy-structure", sr::regdb::RunCopyStructure},
};

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  sr::fs::KeepNewFilesPrivate();  // a dump holds the salaries
  sr::StartProcessDatabases(sr::fs::RealFileSystem());
  sr::regdb::Io io{std::cout, std::cerr};
  if (argc < 2) {
    std::cerr << kUsage;
    return sr::regdb::kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    std::cout << kUsage;
    return sr::regdb::kExitOk;
  }
  std::vector<std::string> words(argv + 2, argv + argc);
  for (const Command& command : kCommands) {
    if (name == command.name) {
      int status = command.run(io, words);
      std::cout.flush();
      return status;
    }
  }
  std::cerr << "regdb: unknown command \"" << name << "\"\n" << kUsage;
  return sr::regdb::kExitUsage;
}
