// regdb check: opens the file read-only, checks that no companion block has two owners, and
// reads every field. With --repair a short file is cut to what it holds and values pointing past
// a short companion file are emptied, after a copy of both files was kept beside them.
#include <memory>

#include "platform/fs/file_system.h"
#include "runtime/recdb/chain_audit.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/open_validate.h"
#include "tools/regdb/command.h"
#include "tools/regdb/utf8_edge.h"

namespace sr::regdb {
namespace {

using recdb::ChainFinding;

// regdb's own findings, numbered apart from the record database's codes (which are negative).
constexpr int kCrossLinked = 101;
constexpr int kFreeAndChained = 102;
constexpr int kPastEnd = 103;
constexpr int kDamagedChain = 104;
constexpr int kRecordSizeMismatch = 105;
constexpr int kChangeCutShort = 106;

constexpr size_t kFindingsShown = 20;

std::string OwnerText(const recdb::Database& db, const recdb::BlockOwner& owner) {
  if (owner.is_free_list()) return "the free list";
  return RecordFieldWhere(owner.record, db.fields()[owner.field]);
}

std::string FindingText(const recdb::Database& db, const ChainFinding& finding) {
  const std::string block = "block " + std::to_string(finding.block) + " ";
  const std::string owner = OwnerText(db, finding.owner);
  switch (finding.kind) {
    case ChainFinding::Kind::kCrossLinked:
      return std::to_string(kCrossLinked) + " companion block in two chains: " + block + "in " +
             owner + " and in " + OwnerText(db, finding.other);
    case ChainFinding::Kind::kFreeAndChained:
      return std::to_string(kFreeAndChained) +
             " companion block both free and in a chain: " + block + "in " + owner;
    case ChainFinding::Kind::kPastEnd:
      return std::to_string(kPastEnd) + " chain reaches past the companion file's end: " + block +
             "in " + owner;
    case ChainFinding::Kind::kDamaged:
      break;
  }
  return std::to_string(kDamagedChain) + " damaged chain: " + block + "in " + owner + ": " +
         (finding.code == 0 ? "the chain runs in a loop" : DatabaseErrorText(finding.code));
}

// A header whose record size is not what its fields describe is damaged: cutting the file to
// "complete" records of that size would throw its records away.
bool RecordSizeAgrees(const Io& io, const std::string& file, int32_t record_size,
                      const std::vector<recdb::FieldDescriptor>& fields) {
  const int64_t described = recdb::DescribedRecordSize(fields);
  if (record_size == described) return true;
  Fail(io, file + ": " + std::to_string(kRecordSizeMismatch) +
               " record size disagrees with the fields: the header says " +
               std::to_string(record_size) + " bytes, the fields describe " +
               std::to_string(described) + "; the file is damaged, not short, and was not changed");
  return false;
}

bool LayoutAgrees(const Io& io, const std::string& file, const Text& path, const Text& password) {
  recdb::DatabaseLayout layout;
  if (recdb::ReadDatabaseLayout(ProcessDatabases().file_system(), recdb::WithDefaultExtension(path),
                                password, &layout) != kDbOk) {
    return true;  // the open's own code says what is wrong
  }
  return RecordSizeAgrees(io, file, layout.header.record_size, layout.fields);
}

int AuditCurrent(recdb::ChainAudit* audit) {
  const bool held = HoldWholeDatabase();
  int code = recdb::AuditChains(*ProcessDatabases().current(), audit);
  if (held) ReleaseWholeDatabase();
  return code;
}

int ReportAudit(const Io& io, const std::string& file, const recdb::ChainAudit& audit) {
  const recdb::Database& db = *ProcessDatabases().current();
  for (size_t n = 0; n < audit.findings.size() && n < kFindingsShown; ++n) {
    Fail(io, file + ": " + FindingText(db, audit.findings[n]));
  }
  if (audit.findings.size() > kFindingsShown) {
    Fail(io, file + ": and " + std::to_string(audit.findings.size() - kFindingsShown) +
                 " more findings");
  }
  return audit.findings.empty() ? kExitOk : kExitFailed;
}

int SyncFile(const Text& path) {
  std::unique_ptr<fs::File> file;
  int code = ProcessDatabases().file_system().Open(path, fs::Access::kRead, fs::Share::kDenyNone,
                                                   fs::Disposition::kOpenExisting, &file);
  return code == fs::kOk ? file->Sync() : code;
}

// Copies the database file to NAME.bak, and its companion file to COMPANION.bak, before a repair
// changes anything. A copy left by an earlier repair is never overwritten.
bool KeepCopies(const Io& io, const std::string& file, const Text& path) {
  fs::FileSystem& files = ProcessDatabases().file_system();
  const Text database = recdb::WithDefaultExtension(path);
  std::vector<Text> originals{database};
  bool exists = false;
  const Text companion = recdb::CompanionPath(database);
  if (files.Exists(companion, &exists) == fs::kOk && exists) originals.push_back(companion);
  for (const Text& original : originals) {
    if (files.Exists(original + ".bak", &exists) != fs::kOk || exists) {
      Fail(io, Shown(original + ".bak") +
                   ": a copy from an earlier repair is in the way; move it elsewhere first");
      return false;
    }
  }
  for (const Text& original : originals) {
    const Text copy = original + ".bak";
    int code = files.CopyFile(original, copy);
    if (code == fs::kOk) code = SyncFile(copy);
    if (code != fs::kOk) {
      FailCode(io, Shown(copy), code);
      return false;
    }
    io.out << file << ": kept a copy as " << Shown(copy) << "\n";
  }
  return true;
}

// Keeps the copies, opens the file for writing alone (which cuts a short file or companion to
// what it holds) and empties the values that point past the companion's end.
bool Repair(const Io& io, const std::string& file, const Text& path, OpenOptions options) {
  if (!KeepCopies(io, file, path)) return false;
  options.read_only = 0;
  options.share_mode = 4;  // nobody else may see the file while it is repaired
  options.keep_repair_copy = false;  // the copies above are kept
  if (!OpenFile(io, file, path, options)) return false;
  recdb::Database& db = *ProcessDatabases().current();
  std::vector<ChainFinding> emptied;
  const int code = recdb::EmptyChainsPastEnd(db, &emptied);
  for (const ChainFinding& finding : emptied) {
    io.out << file << ": " << OwnerText(db, finding.owner) << ": pointed past the companion "
           << "file's end (block " << finding.block << "); emptied\n";
  }
  if (code == kDbOk) return true;
  FailCode(io, file, code);
  CloseAllDatabases();
  return false;
}

// Opens FILE read-only; a short file is repaired when asked. *repaired tells whether it was.
bool OpenChecked(const Io& io, const std::string& file, const Text& path,
                 const OpenOptions& options, bool repair, bool* repaired) {
  *repaired = false;
  if (OpenDatabase(path, Text(), options)) return true;
  const int code = LastDatabaseError();
  // The open refuses a record size that its fields disagree with: say which.
  if (code == kDbNotDatabaseFile && !LayoutAgrees(io, file, path, options.password)) return false;
  // Only a short database or companion file is repairable; the writable open repairs it.
  const bool repairable = code == kDbFileSize || code == kDbCompanionDamaged;
  if (!repairable || !repair) FailCode(io, file, code);
  if (!repairable) return false;
  if (repair) io.out << file << ": " << DatabaseErrorText(code) << "\n";
  if (!LayoutAgrees(io, file, path, options.password)) return false;
  if (!repair) {
    io.err << "regdb: --repair cuts the file to its complete records (keeping a copy)\n";
    return false;
  }
  return *repaired = Repair(io, file, path, options);
}

// Audits the open file's chains. A file that opens may still point past its companion's end
// (an earlier writable open lowered the companion's block count): with --repair it is repaired.
// Returns 0, a database error code, or kRecordSizeMismatch.
int AuditOpened(const Io& io, const std::string& file, const Text& path, const OpenOptions& options,
                bool repair, bool* repaired, recdb::ChainAudit* audit) {
  const recdb::Database& db = *ProcessDatabases().current();
  if (!RecordSizeAgrees(io, file, db.header().record_size, db.fields())) {
    return kRecordSizeMismatch;
  }
  int code = AuditCurrent(audit);
  if (code != kDbOk || *repaired || !repair || audit->Count(ChainFinding::Kind::kPastEnd) == 0) {
    return code;
  }
  CloseAllDatabases();
  if (!Repair(io, file, path, options)) return kDbUnknown;
  *repaired = true;
  return AuditCurrent(audit);
}

}  // namespace

int RunCheck(const Io& io, const std::vector<std::string>& words) {
  Args args;
  if (!ParseCommand(io, words, {{"password"}, {"repair"}}, 1, 1,
                    "check FILE [--password P] [--repair]", &args)) {
    return kExitUsage;
  }
  const std::string& file = args.positional[0];
  Text path;
  OpenOptions options;
  options.read_only = 1;
  if (!PathArgument(io, file, &path) || !PasswordArgument(io, args, &options.password)) {
    return kExitFailed;
  }
  const bool repair = args.Has("repair");
  // The salary program's rollback journal: the file mixes old and new bytes until it is rolled
  // back, which a repair must not get in the way of.
  Text journal;
  const bool cut_short = JournalBeside(path, &journal);
  if (cut_short) {
    Fail(io, file + ": " + std::to_string(kChangeCutShort) + " a change of it was cut short: " +
                 Shown(journal) + " holds what it replaced; the salary program puts it back at " +
                 "its next reading of the file" + (repair ? "; nothing was repaired" : ""));
    if (repair) return kExitFailed;
  }
  bool repaired = false;
  if (!OpenChecked(io, file, path, options, repair, &repaired)) return kExitFailed;
  recdb::ChainAudit audit;
  const int code = AuditOpened(io, file, path, options, repair, &repaired, &audit);
  if (code != kDbOk || ReportAudit(io, file, audit) != kExitOk) {
    if (code < 0 && ProcessDatabases().current() != nullptr) FailCode(io, file, code);
    CloseAllDatabases();
    return kExitFailed;
  }
  const size_t field_count = ProcessDatabases().current()->fields().size();
  int32_t count = 0;
  const int status =
      ReadEveryRecord(io, file, [&](int32_t, const std::vector<Value>&) { ++count; });
  if (status != kExitOk || cut_short) return kExitFailed;
  io.out << file << ": " << (repaired ? "repaired, " : "ok, ") << count << " records of "
         << field_count << " fields read\n";
  return kExitOk;
}

}  // namespace sr::regdb
