#include "app/register/register_storage.h"

#include <cmath>
#include <limits>
#include <memory>

#include "app/register/amount_cells.h"
#include "app/register/file_replacement.h"
#include "runtime/convert/conversions.h"
#include "runtime/recdb/coding.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/format.h"

namespace sr::app {

namespace {

constexpr int kFirstAmountField = 3;
constexpr int kLastHiddenZeroField = 20;  // field 21 (net pay) shows its zero as "0"
constexpr char kSavingAlias[] = "保存中的数据";
constexpr char kRelayAlias[] = "ZhongZhuan";
constexpr char kProbeAlias[] = "检查的数据";
constexpr int32_t kMaxFieldsRead = 1 << 16;

// Register field f (1-based) holds column f - 1.
bool IsTextField(int field) { return IsTextColumn(field - 1); }

bool Fail(int code, Text* reason) {
  if (reason != nullptr) *reason = DatabaseErrorMessage(code);
  return false;
}

bool FailWithLastError(Text* reason) { return Fail(LastDatabaseError(), reason); }

// The text a stored value shows in its cell. A tax of nothing shows "0", as 计算 shows it.
Text CellTextOf(int field, const Value& value, int last_hidden_zero) {
  Text text = ToText(value);
  // Only an amount near zero needs its shown text read back (the text may round it to zero).
  if (field >= kFirstAmountField && field <= last_hidden_zero && field != kIncomeTaxColumn + 1 &&
      std::fabs(ToNumber(value)) <= 2 * kAmountTolerance &&
      std::fabs(ToNumber(text)) <= kAmountTolerance) {
    text.clear();
  }
  return text;
}

// Holds the current database privately for a pass, so that records move in batches.
class WholeDatabaseHold {
 public:
  explicit WholeDatabaseHold(DatabaseTable& databases) : databases_(databases) {
    held_ = databases_.HoldWholeDatabase();
  }
  ~WholeDatabaseHold() {
    if (held_) databases_.ReleaseWholeDatabase();
  }
 private:
  DatabaseTable& databases_;
  bool held_ = false;
};

// Creates the empty register beside the target and leaves it open, current and private.
// Writes the saved register's header, with no records, and its field descriptors into `saving`:
// what ZapRecords leaves of it, without copying the records first.
bool WriteEmptyRegister(fs::FileSystem& files, const RegisterStructure& structure,
                        const Text& saving, Text* reason) {
  recdb::Header header = structure.header;
  header.record_count = 0;
  std::string bytes = recdb::EncodeHeader(header);
  bytes.resize(recdb::kFieldsOffset);
  recdb::PutI32(reinterpret_cast<uint8_t*>(&bytes[recdb::kFieldsOffset - 4]),
                static_cast<int32_t>(structure.fields.size()));
  for (const recdb::FieldDescriptor& field : structure.fields) {
    bytes += recdb::EncodeDescriptor(field);
  }
  std::unique_ptr<fs::File> file;
  int code = files.Open(saving, fs::Access::kReadWrite, fs::Share::kExclusive,
                        fs::Disposition::kCreateAlways, &file);
  if (code == fs::kOk) code = file->WriteAt(0, bytes.data(), bytes.size());
  return code == fs::kOk || Fail(code, reason);
}

bool WriteEmptyCopy(DatabaseTable& databases, fs::FileSystem& files, const Text& source,
                    const Text& saving, Text* reason) {
  OpenOptions read_only;
  read_only.read_only = 1;
  if (!databases.OpenDatabase(source, kSavingAlias, read_only)) return FailWithLastError(reason);
  const bool shaped = HasRegisterShape(databases, reason);
  const RegisterStructure structure = CurrentStructure(databases);
  databases.CloseDatabase(kSavingAlias);
  return shaped && WriteEmptyRegister(files, structure, saving, reason);
}

// Creates the empty register beside the target, with the target's permissions, and leaves it
// open, current and private.
bool CreateSavingFile(DatabaseTable& databases, fs::FileSystem& files, StructureSource kind,
                      const Text& source, const RegisterStructure* shown,
                      FileReplacement& replacement, Text* reason) {
  const Text& saving = replacement.saving();
  if (kind == StructureSource::kRelayFile) {
    if (!databases.OpenDatabase(source, kRelayAlias)) {
      *reason = Concat({"无法打开程序目录中的中转文件 ", kRelayFileName, "：",
                        DatabaseErrorMessage(LastDatabaseError())});
      return false;
    }
    const bool shaped = HasRegisterShape(databases, reason);
    const bool copied = shaped && databases.CopyStructure(saving);
    const int code = LastDatabaseError();
    databases.CloseDatabase(kRelayAlias);
    if (!shaped) return false;
    if (!copied) return Fail(code, reason);
  } else if (kind == StructureSource::kShownRegister) {
    if (!WriteEmptyRegister(files, *shown, saving, reason)) return false;
  } else if (!WriteEmptyCopy(databases, files, source, saving, reason)) {
    return false;
  }
  if (int code = replacement.Protect(); code != fs::kOk) return Fail(code, reason);
  // Nobody else may see the file while it is written, which also batches the appends.
  return databases.OpenDatabase(saving, kSavingAlias, OpenOptions::WithShareMode(4)) ||
         FailWithLastError(reason);
}

// Whether every amount of the person in `row` fits the numeric field it goes to. No infinity or
// NaN may reach the file: it would come back as "1.#INF" and then read as 1. A float field holds
// less than the double that the program writes.
bool AmountsStorable(DatabaseTable& databases, const SalaryRegister& salary_register, int row,
                     Text* problem) {
  const recdb::Database* db = databases.current();
  for (int field = 1; field <= kRegisterFields; ++field) {
    if (IsTextField(field)) continue;
    double amount;
    const bool fits = ReadAmount(salary_register.CellText(row, field - 1), &amount) &&
                      (db == nullptr || db->fields().size() < static_cast<size_t>(field) ||
                       db->fields()[field - 1].type != recdb::FieldType::kFloat ||
                       std::fabs(amount) <= std::numeric_limits<float>::max());
    if (fits) continue;
    *problem = AmountOutOfRange(salary_register, row, field - 1);
    return false;
  }
  return true;
}

}  // namespace

RegisterStructure CurrentStructure(const DatabaseTable& databases) {
  const recdb::Database& db = *databases.current();
  return RegisterStructure{db.header(), db.fields()};
}

Text SideFilePath(const Text& program_directory, const Text& name) {
  return program_directory + "\\" + name;
}

namespace {

// The field names of the current database, as the register's titles.
RowTexts FieldNames(DatabaseTable& databases) {
  RowTexts titles;
  for (int field = 1; field <= kRegisterFields; ++field) {
    titles[field - 1] = databases.GetFieldName(field);
  }
  return titles;
}

}  // namespace

void FillTitleRow(DatabaseTable& databases, const Text& relay_path,
                  SalaryRegister& salary_register) {
  const bool opened = databases.OpenDatabase(relay_path, kRegisterAlias);
  salary_register.SetTitles(opened ? FieldNames(databases) : RowTexts());
  if (opened) databases.CloseDatabase(kRegisterAlias);
}

namespace {

bool HasRegisterFields(const std::vector<recdb::FieldDescriptor>& fields, Text* reason) {
  bool shaped = fields.size() == static_cast<size_t>(kRegisterFields);
  for (size_t i = 0; shaped && i < fields.size(); ++i) {
    const int field = static_cast<int>(i) + 1;
    shaped = IsTextField(field) ? fields[i].type == recdb::FieldType::kText
                                : recdb::IsNumericType(fields[i].type);
  }
  if (!shaped && reason != nullptr) {
    *reason = "不是工资表文件（应有 22 个字段：第 1、2、22 个为文本，其余为数值）";
  }
  return shaped;
}

// The field descriptors of a database file that a read-only open found sound up to its size,
// read straight from the file.
bool ReadFieldDescriptors(fs::FileSystem& files, const Text& path,
                          std::vector<recdb::FieldDescriptor>* fields) {
  std::unique_ptr<fs::File> file;
  if (files.Open(path, fs::Access::kRead, fs::Share::kDenyNone, fs::Disposition::kOpenExisting,
                 &file) != fs::kOk) {
    return false;
  }
  uint8_t count_bytes[4];
  size_t got = 0;
  if (file->ReadAt(recdb::kHeaderSize, count_bytes, 4, &got) != fs::kOk || got != 4) return false;
  const int32_t count = recdb::GetI32(count_bytes);
  if (count < 1 || count > kMaxFieldsRead) return false;
  std::string bytes(recdb::kDescriptorSize * count, '\0');
  if (file->ReadAt(recdb::kFieldsOffset, bytes.data(), bytes.size(), &got) != fs::kOk ||
      got != bytes.size()) {
    return false;
  }
  fields->resize(count);
  for (int32_t n = 0; n < count; ++n) {
    const auto* raw = reinterpret_cast<const uint8_t*>(bytes.data()) + recdb::kDescriptorSize * n;
    if (!recdb::DecodeDescriptor(raw, &(*fields)[n])) return false;
  }
  return true;
}

}  // namespace

TextWidths TextFieldWidths(fs::FileSystem& files, const Text& relay_path,
                           const RegisterStructure* shown) {
  std::vector<recdb::FieldDescriptor> fields;
  if (shown != nullptr) {
    fields = shown->fields;
  } else if (!ReadFieldDescriptors(files, relay_path, &fields)) {
    fields.clear();
  }
  TextWidths widths{};
  if (!HasRegisterFields(fields, nullptr)) return widths;
  for (int column = 0; column < kRegisterColumns; ++column) {
    widths[column] = fields[column].text_width;
  }
  return widths;
}

bool HasRegisterShape(DatabaseTable& databases, Text* reason) {
  const recdb::Database* db = databases.current();
  if (db == nullptr) return Fail(LastDatabaseError(), reason);
  return HasRegisterFields(db->fields(), reason);
}

Text RegisterFileName(const Text& chosen) { return recdb::WithDefaultExtension(chosen); }

bool CheckRegisterFile(fs::FileSystem& files, const Text& path, Text* reason) {
  DatabaseTable probe(files);
  OpenOptions read_only;
  read_only.read_only = 1;
  if (probe.OpenDatabase(path, kProbeAlias, read_only)) {
    return HasRegisterFields(probe.current()->fields(), reason);
  }
  const int code = LastDatabaseError();
  // A register whose last records are missing (a copy cut short) is sound up to its size; the
  // open that shows it repairs it, so only its fields are looked at here.
  std::vector<recdb::FieldDescriptor> fields;
  if (code == kDbFileSize && ReadFieldDescriptors(files, RegisterFileName(path), &fields)) {
    return HasRegisterFields(fields, reason);
  }
  Fail(code, reason);
  // A header that contradicts the file's fields (or no header at all) is never repaired here.
  if (code == kDbNotDatabaseFile && reason != nullptr) *reason += kDamagedFileAdvice;
  return false;
}

bool OpenRegisterDatabase(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                          bool* view_only) {
  bool may_replace = true;
  if (files.MayReplace(RegisterFileName(path), &may_replace) != fs::kOk) may_replace = true;
  *view_only = !may_replace;
  if (may_replace) {
    if (databases.OpenDatabase(path, kRegisterAlias)) return true;
    if (LastDatabaseError() != fs::kAccessDenied) return false;
    *view_only = true;
  }
  OpenOptions read_only;
  read_only.read_only = 1;
  return databases.OpenDatabase(path, kRegisterAlias, read_only);
}

Text RepairNotice(const DatabaseTable& databases, const Text& shown_path) {
  const recdb::Database* db = databases.current();
  if (db == nullptr || db->repair_copy().empty()) return Text();
  return Concat({"文件 ", shown_path,
                 " 的长度与它记录的人数不符（可能复制没有完成），已按文件中完整的记录修复；"
                 "修复前的文件保存为 ",
                 db->repair_copy()});
}

namespace {

// Reads `rows` records from the first one into *texts; zeros of fields 3 to `last_hidden_zero`
// are empty texts, except the tax's.
bool ReadRows(DatabaseTable& databases, int32_t rows, int last_hidden_zero,
              ProgressDisplay* progress, std::vector<RowTexts>* texts, Text* reason) {
  databases.GoFirst();
  bool ok = true;
  texts->resize(rows);
  for (RowTexts& row : *texts) {
    for (int field = 1; field <= kRegisterFields; ++field) {
      const Value value = databases.ReadField(field);
      if (LastDatabaseError() != 0 && ok) ok = FailWithLastError(reason);
      row[field - 1] = CellTextOf(field, value, last_hidden_zero);
    }
    databases.Skip();
    if (progress != nullptr) progress->Step();
  }
  return ok;
}

}  // namespace

bool LoadRegister(DatabaseTable& databases, SalaryRegister& salary_register,
                  ProgressDisplay* progress, Text* reason) {
  WholeDatabaseHold hold(databases);
  salary_register.SetTitles(FieldNames(databases));
  const int32_t records = databases.GetRecordCount();
  if (LastDatabaseError() != 0) return FailWithLastError(reason);
  int32_t rows = records;
  if (records > 0 && databases.GotoRecord(records) && ToText(databases.ReadField(1)).empty() &&
      ToText(databases.ReadField(2)).empty()) {
    --rows;  // the trailing blank record has no row
  }
  if (progress != nullptr) {
    progress->Rewind();
    progress->PlaceInMiddle();
    progress->Show();
    progress->Count(records, 0);
  }
  std::vector<RowTexts> texts;
  const bool ok = ReadRows(databases, rows, kLastHiddenZeroField, progress, &texts, reason);
  salary_register.ReplaceRows(std::move(texts));
  // The trailing blank record is read as well, though it has no row: the bar counts records.
  if (progress != nullptr && rows < records) progress->Step();
  if (progress != nullptr) progress->Hide();
  return ok;
}

bool LoadSortedRegister(DatabaseTable& databases, SalaryRegister& salary_register, Text* reason) {
  WholeDatabaseHold hold(databases);
  const int32_t records = databases.GetRecordCount();
  if (LastDatabaseError() != 0) return FailWithLastError(reason);
  std::vector<RowTexts> texts;
  const bool ok = ReadRows(databases, records, kLastHiddenZeroField + 1, nullptr, &texts, reason);
  salary_register.ReplaceRows(std::move(texts));
  return ok;
}

bool WriteRegister(DatabaseTable& databases, const SalaryRegister& salary_register,
                   ProgressDisplay* progress, Text* reason) {
  const int rows = salary_register.RowCount();
  if (progress != nullptr) {
    progress->Rewind();
    progress->Show();
    progress->Count(rows, 1);
  }
  bool ok = true;
  Text problem;
  // The pass past the last row stands for the trailing blank record.
  for (int row = 1; row <= rows && ok; ++row) {
    const bool person = row < rows && salary_register.IsPerson(row);
    if (person && !AmountsStorable(databases, salary_register, row, &problem)) break;
    if (row == rows || person) {
      ok = databases.AppendBlankRecord();
      for (int field = 1; ok && row < rows && field <= kRegisterFields; ++field) {
        const Text& cell = salary_register.CellText(row, field - 1);
        ok = databases.WriteField(
            field, IsTextField(field) ? Value::FromText(cell) : Value::Double(ToNumber(cell)));
      }
    }
    if (progress != nullptr) progress->Step();
  }
  if (progress != nullptr) progress->Hide();
  if (!problem.empty()) {
    if (reason != nullptr) *reason = problem;
    return false;
  }
  return ok || FailWithLastError(reason);
}

bool SaveRegisterFile(DatabaseTable& databases, fs::FileSystem& files, StructureSource kind,
                      const Text& source, const Text& target, const SalaryRegister& salary_register,
                      ProgressDisplay* progress, Text* reason, const RegisterStructure* shown) {
  Text unused;
  if (reason == nullptr) reason = &unused;
  FileReplacement replacement(files, target);
  if (int code = replacement.Prepare(); code != fs::kOk) return Fail(code, reason);
  if (!CreateSavingFile(databases, files, kind, source, shown, replacement, reason)) {
    replacement.Abandon();
    return false;
  }
  bool ok = WriteRegister(databases, salary_register, progress, reason);
  if (ok && !databases.FlushDatabase()) ok = FailWithLastError(reason);
  databases.CloseDatabase(kSavingAlias);
  if (ok && LastDatabaseError() != 0) ok = FailWithLastError(reason);
  if (ok) {
    if (int code = replacement.Commit(); code != fs::kOk) ok = Fail(code, reason);
  }
  if (!ok) replacement.Abandon();
  return ok;
}

}  // namespace sr::app
