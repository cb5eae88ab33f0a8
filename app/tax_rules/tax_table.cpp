#include "app/tax_rules/tax_table.h"

#include "app/register/amount_cells.h"
#include "app/register/file_replacement.h"
#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

const char kSaveFailure[] = "无法保存税率表文件 ";

Text DatabaseFailure(const char* what, const Text& path, int code) {
  return Concat({what, path, "：", DatabaseErrorMessage(code)});
}

Text RecordAndField(int record, int field) {
  return Concat({"第 ", ToText(record), " 条记录第 ", ToText(field), " 个字段"});
}

bool HasTableShape(DatabaseTable& databases, const Text& path, Text* message) {
  const int32_t records = databases.GetRecordCount();
  if (LastDatabaseError() != 0) {
    *message = DatabaseFailure("无法读取税率表文件 ", path, LastDatabaseError());
    return false;
  }
  // Reading a field that the file does not have would end the program, so count them first.
  const bool fields_ok = !databases.GetFieldName(kTaxFields).empty();
  if (records < kTaxRecords || !fields_ok) {
    *message = Concat({"税率表文件 ", path, " 的格式不对：应有 ", ToText(kTaxRecords),
                       " 条记录，每条 ", ToText(kTaxFields), " 个字段"});
    return false;
  }
  return true;
}

}  // namespace

Text TaxTablePath(fs::FileSystem& files, const TaxTableFile& table) {
  Text directory;
  if (files.GetCurrentDirectory(&directory) != fs::kOk) directory.clear();
  return Concat({directory, "/", table.file_name});
}

bool OpenTaxTable(DatabaseTable& databases, const Text& path, Text* message,
                  const TaxTableFile& table) {
  databases.CloseDatabase(table.alias);
  if (!databases.OpenDatabase(path, table.alias, OpenOptions::WithPassword(kTaxTablePassword))) {
    *message = DatabaseFailure("无法打开税率表文件 ", path, LastDatabaseError());
    return false;
  }
  databases.GoFirst();
  return true;
}

bool ReadTaxTable(DatabaseTable& databases, const Text& path, TaxTableValues* values,
                  Text* message) {
  if (!HasTableShape(databases, path, message)) return false;
  for (int record = 1; record <= kTaxRecords; ++record) {
    if (!databases.GotoRecord(record)) {
      *message = DatabaseFailure("无法读取税率表文件 ", path, LastDatabaseError());
      return false;
    }
    for (int field = 1; field <= kTaxFields; ++field) {
      (*values)[record - 1][field - 1] = databases.ReadField(field);
      if (LastDatabaseError() != 0) {
        *message = Concat({"无法读取税率表文件 ", path, " ", RecordAndField(record, field), "：",
                           DatabaseErrorMessage(LastDatabaseError())});
        return false;
      }
    }
  }
  databases.GoFirst();
  return true;
}

bool ToBrackets(const TaxTableValues& values, const Text& path, TaxBrackets* brackets,
                Text* message) {
  auto number = [&](int record, int field, Value* out) {
    const Value& value = values[record - 1][field - 1];
    if (value.is_numeric() && IsStoredAmountHandled(ToNumber(value))) {
      *out = value;
      return true;
    }
    if (value.is_numeric()) {
      *message = Concat({"税率表文件 ", path, " ", RecordAndField(record, field), "是 ",
                         ToText(value), "，不是程序能处理的数（文件可能已损坏）"});
      return false;
    }
    *message = Concat({"税率表文件 ", path, " ", RecordAndField(record, field), "不是数值：",
                       ToText(value)});
    return false;
  };
  Value value;
  if (!number(1, 1, &value)) return false;
  brackets->threshold = ToInteger(value);
  for (int k = 1; k <= kTaxRecords; ++k) {
    if (!number(k, 2, &value)) return false;
    brackets->lower[k - 1] = ToNumber(value);
    if (!number(k, 4, &value)) return false;
    brackets->rate[k - 1] = ToInteger(value);
    if (!number(k, 5, &value)) return false;
    brackets->quick[k - 1] = ToInteger(value);
  }
  return true;
}

namespace {

// Writes the texts into the open, current table.
bool WriteTaxTable(DatabaseTable& databases, const Text& path, const TaxTableTexts& texts,
                   Text* message) {
  if (!HasTableShape(databases, path, message)) return false;
  for (int record = 1; record <= kTaxRecords; ++record) {
    bool ok = databases.GotoRecord(record);
    for (int field = 1; ok && field <= kTaxFields; ++field) {
      if (field == kTaxFields) {
        // The last record keeps its text: the table never had a cell for it.
        if (record < kTaxRecords) ok = databases.WriteField(field, Value::FromText(Text()));
      } else {
        ok = databases.WriteField(field, Value::Int(ToInteger(texts[record - 1][field - 1])));
      }
    }
    if (!ok) {
      *message = DatabaseFailure(kSaveFailure, path, LastDatabaseError());
      return false;
    }
  }
  if (!databases.FlushDatabase()) {
    *message = DatabaseFailure(kSaveFailure, path, LastDatabaseError());
    return false;
  }
  return true;
}

}  // namespace

bool SaveTaxTable(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                  const TaxTableTexts& texts, Text* message, const TaxTableFile& table) {
  FileReplacement replacement(files, path);
  auto fail = [&](int code) {
    replacement.Abandon();
    *message = DatabaseFailure(kSaveFailure, path, code);
    return false;
  };
  int code = replacement.Prepare();
  if (code == fs::kOk) code = replacement.CopyTarget();
  if (code != fs::kOk) return fail(code);
  // Held exclusively, the copy is written in batches and seen by nobody until it is whole.
  OpenOptions options = OpenOptions::WithPassword(kTaxTablePassword);
  options.share_mode = 4;
  if (!databases.OpenDatabase(replacement.saving(), table.alias, options)) {
    return fail(LastDatabaseError());
  }
  const bool written = WriteTaxTable(databases, path, texts, message);
  databases.CloseDatabase(table.alias);
  if (!written) {
    replacement.Abandon();
    return false;
  }
  if (LastDatabaseError() != 0) return fail(LastDatabaseError());
  if ((code = replacement.Commit()) != fs::kOk) return fail(code);
  return true;
}

bool LoadTaxBrackets(DatabaseTable& databases, fs::FileSystem& files, const TaxTableFile& table,
                     TaxBrackets* brackets, Text* message) {
  const Text path = TaxTablePath(files, table);
  TaxTableValues values;
  if (!OpenTaxTable(databases, path, message, table)) {
    // The table is opened for writing as the program always has: on a read-only medium that
    // fails, and the folder is what is wrong, not the table.
    bool writable = true;
    if (files.MayReplace(path, &writable) == fs::kOk && !writable) {
      *message = Concat({"税率表文件 ", path,
                         " 所在的文件夹不能写入（例如只读的光盘或写保护的 U 盘），本次没有计算。"
                         "请把程序的文件夹复制到能写入的地方再计算；"
                         "屏幕上的工资表可以用“另存为”保存到别处"});
    }
    return false;
  }
  return ReadTaxTable(databases, path, &values, message) &&
         ToBrackets(values, path, brackets, message);
}

void LookUpBracket(const TaxBrackets& brackets, double taxable_sum, int* rate, int* quick) {
  *rate = 0;
  *quick = 0;
  const double taxable = taxable_sum - brackets.threshold;
  for (int k = kTaxRecords; k >= 1; --k) {
    const double lower = brackets.lower[k - 1];
    if (taxable - lower >= -kAmountTolerance && lower > kAmountTolerance) {
      *rate = brackets.rate[k - 1];
      *quick = brackets.quick[k - 1];
      return;
    }
  }
}

}  // namespace sr::app
