#include "app/withholding/ledger.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "runtime/convert/conversions.h"
#include "runtime/recdb/coding.h"
#include "runtime/recdb/value_codec.h"

namespace sr::app {
namespace {

const char kLedgerAlias[] = "扣缴台账";

// The amount fields after 证件号码, in order; each is read and written through its accessor.
struct AmountField {
  const char* name;
  double& (*at)(LedgerEntry&);
};

#define SR_LEDGER_AMOUNT(name, member) \
  { name, [](LedgerEntry& e) -> double& { return e.member; } }

const AmountField kHeadAmounts[] = {
    SR_LEDGER_AMOUNT("收入额", figures.income),
    SR_LEDGER_AMOUNT("免税收入", figures.exempt_income),
    SR_LEDGER_AMOUNT("专项扣除", figures.special),
    SR_LEDGER_AMOUNT("婴幼儿照护", figures.additional[0]),
    SR_LEDGER_AMOUNT("子女教育", figures.additional[1]),
    SR_LEDGER_AMOUNT("继续教育", figures.additional[2]),
    SR_LEDGER_AMOUNT("住房贷款利息", figures.additional[3]),
    SR_LEDGER_AMOUNT("住房租金", figures.additional[4]),
    SR_LEDGER_AMOUNT("赡养老人", figures.additional[5]),
    SR_LEDGER_AMOUNT("个人养老金", figures.additional[6]),
    SR_LEDGER_AMOUNT("其他扣除", figures.other),
    SR_LEDGER_AMOUNT("减除费用", basic),
    SR_LEDGER_AMOUNT("减免税额", figures.relief),
    SR_LEDGER_AMOUNT("本月预扣税额", figures.withheld),
    SR_LEDGER_AMOUNT("累计收入额", result.sums.income),
    SR_LEDGER_AMOUNT("累计免税收入", result.sums.exempt_income),
    SR_LEDGER_AMOUNT("累计专项扣除", result.sums.special),
    SR_LEDGER_AMOUNT("累计附加扣除", result.sums.additional),
    SR_LEDGER_AMOUNT("累计其他扣除", result.sums.other),
    SR_LEDGER_AMOUNT("累计减除费用", result.basic),
    SR_LEDGER_AMOUNT("累计减免税额", result.sums.relief),
    SR_LEDGER_AMOUNT("累计应纳税所得", result.taxable),
};
const AmountField kTailAmounts[] = {
    SR_LEDGER_AMOUNT("速算扣除数", result.quick),
    SR_LEDGER_AMOUNT("累计应纳税额", result.tax_on_taxable),
    SR_LEDGER_AMOUNT("累计已预扣", result.withheld_before),
};

#undef SR_LEDGER_AMOUNT

int YearMonth(const LedgerEntry& e) { return e.year * 100 + e.month; }

// The ledger's fields with their offsets in a record, and the record's size.
struct LedgerLayout {
  std::vector<recdb::FieldDescriptor> fields = LedgerFields();
  size_t record_size = size_t(recdb::AssignOffsets(&fields));
};

const LedgerLayout& TheLayout() {
  static const LedgerLayout layout;
  return layout;
}
const std::vector<recdb::FieldDescriptor>& Layout() { return TheLayout().fields; }

// The texts after 月份, in order, and the last field.
Text LedgerEntry::*const kHeadTexts[] = {&LedgerEntry::number, &LedgerEntry::name,
                                         &LedgerEntry::id_number};

// A record's bytes as writing each field's value one by one stores them; the serial number's
// 4 bytes are left alone. Every ledger is written this way, so it must stay byte for byte
// what the field writes give.
void EncodeRecord(const LedgerEntry& entry, uint8_t* record) {
  // The accessors only read here: no copy of each of the year's entries.
  LedgerEntry& e = const_cast<LedgerEntry&>(entry);
  auto field = Layout().begin();
  recdb::PutI32(record + (field++)->offset, YearMonth(e));
  for (Text LedgerEntry::*text : kHeadTexts) {
    recdb::EncodeTextSlot(e.*text, field->text_width, record + field->offset);
    ++field;
  }
  for (const AmountField& f : kHeadAmounts) recdb::PutDouble(record + (field++)->offset, f.at(e));
  recdb::PutI32(record + (field++)->offset, e.result.rate);
  for (const AmountField& f : kTailAmounts) recdb::PutDouble(record + (field++)->offset, f.at(e));
  recdb::EncodeTextSlot(e.source, field->text_width, record + field->offset);
}

void DecodeRecord(const uint8_t* record, LedgerEntry& e) {
  auto field = Layout().begin();
  const int year_month = recdb::GetI32(record + (field++)->offset);
  e.year = year_month / 100;
  e.month = year_month % 100;
  for (Text LedgerEntry::*text : kHeadTexts) {
    e.*text = recdb::DecodeTextSlot(record + field->offset, field->text_width);
    ++field;
  }
  for (const AmountField& f : kHeadAmounts) f.at(e) = recdb::GetDouble(record + (field++)->offset);
  e.result.rate = recdb::GetI32(record + (field++)->offset);
  for (const AmountField& f : kTailAmounts) f.at(e) = recdb::GetDouble(record + (field++)->offset);
  e.source = recdb::DecodeTextSlot(record + field->offset, field->text_width);
  e.result.tax = e.figures.withheld;
}

}  // namespace

std::vector<recdb::FieldDescriptor> LedgerFields() {
  std::vector<recdb::FieldDescriptor> fields = {WholeField("月份"), TextField("编号", 20),
                                                TextField("姓名", 20), TextField("证件号码", 30)};
  for (const AmountField& f : kHeadAmounts) fields.push_back(NumberField(f.name));
  fields.push_back(WholeField("预扣率"));
  for (const AmountField& f : kTailAmounts) fields.push_back(NumberField(f.name));
  fields.push_back(TextField("来源", 200));
  return fields;
}

Text LedgerPath(const Text& folder, int year) {
  return Concat({folder, "/扣缴台账", ToText(year), ".dat"});
}

namespace {

// Decodes every record of the ledger of `year` at `path` (a missing file has none) into one
// entry in turn and hands it to `each` with the record's stored bytes; `begin` is told the
// number of records first. False with a message when the file cannot be read or holds a record
// of another year.
bool ReadLedger(DatabaseTable& databases, fs::FileSystem& files, const Text& path, int year,
                const std::function<void(int32_t count)>& begin,
                const std::function<void(const uint8_t* record, const LedgerEntry& entry)>& each,
                Text* message) {
  if (!FileExists(files, path)) return true;
  LedgerEntry entry;  // one for all: its texts keep their room from record to record
  bool other_year = false;
  auto take = [&](const uint8_t* record, Text* problem) {
    DecodeRecord(record, entry);
    if (entry.year != year || entry.month < 1 || entry.month > 12) {
      other_year = true;
      *problem =
          Concat({"扣缴台账 ", path, " 中有 ", ToText(YearMonth(entry)), " 的记录（", entry.number,
                  " ", entry.name, "），不是 ", ToText(year), " 年的台账，本次没有计算"});
      return false;
    }
    each(record, entry);
    return true;
  };
  Text problem;
  if (!ReadStoredRecords(databases, path, kLedgerAlias, LedgerFields(), begin, take, &problem)) {
    *message = other_year ? problem : Concat({"扣缴台账有问题，本次没有计算：", problem});
    return false;
  }
  return true;
}

}  // namespace

bool LoadLedger(DatabaseTable& databases, fs::FileSystem& files, const Text& path, int year,
                std::vector<LedgerEntry>* entries, Text* message) {
  entries->clear();
  const bool ok = ReadLedger(
      databases, files, path, year, [&](int32_t count) { entries->reserve(count); },
      [&](const uint8_t*, const LedgerEntry& entry) { entries->push_back(entry); }, message);
  if (!ok) entries->clear();
  return ok;
}

bool LoadLedgerOfMonth(DatabaseTable& databases, fs::FileSystem& files, const Text& path, int year,
                       int month, LedgerOfMonth* ledger, Text* message) {
  *ledger = LedgerOfMonth();
  ledger->month = month;
  const size_t size = TheLayout().record_size;
  auto begin = [&](int32_t count) {
    ledger->stored.reserve(size_t(count) * size);
    ledger->months.reserve(count);
  };
  auto each = [&](const uint8_t* record, const LedgerEntry& entry) {
    ledger->stored.append(reinterpret_cast<const char*>(record), size);
    ledger->months.push_back(static_cast<int8_t>(entry.month));
    if (entry.month < month) ledger->earlier[entry.number].Add(entry.figures);
    if (entry.month == month && std::find(ledger->sources.begin(), ledger->sources.end(),
                                          entry.source) == ledger->sources.end()) {
      ledger->sources.push_back(entry.source);
    }
  };
  return ReadLedger(databases, files, path, year, begin, each, message);
}

bool SaveLedger(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                const std::vector<LedgerEntry>& entries, Text* message) {
  return WriteStoredRecords(
      databases, files, path, kLedgerAlias, LedgerFields(), entries.size(),
      [&](size_t i, uint8_t* record) { EncodeRecord(entries[i], record); }, message);
}

bool SaveLedgerOfMonth(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                       const LedgerOfMonth& ledger, const std::vector<LedgerEntry>& fresh,
                       Text* message) {
  // Each record of the new ledger with its month: a stored record by its index, a fresh one as
  // -1 - its index; in the order ReplaceMonth gives.
  std::vector<std::pair<int, int32_t>> order;
  order.reserve(ledger.months.size() + fresh.size());
  for (size_t i = 0; i < ledger.months.size(); ++i) {
    if (ledger.months[i] != ledger.month) order.emplace_back(ledger.months[i], int32_t(i));
  }
  for (size_t i = 0; i < fresh.size(); ++i) order.emplace_back(fresh[i].month, -1 - int32_t(i));
  auto by_month = [](const auto& a, const auto& b) { return a.first < b.first; };
  if (!std::is_sorted(order.begin(), order.end(), by_month)) {
    std::stable_sort(order.begin(), order.end(), by_month);
  }
  const size_t size = TheLayout().record_size;
  auto encode = [&](size_t k, uint8_t* record) {
    const int32_t from = order[k].second;
    if (from < 0) return EncodeRecord(fresh[size_t(-1 - from)], record);
    // What decoding and coding again would give: the bytes themselves, with the texts' unused
    // room cleared.
    std::memcpy(record, ledger.stored.data() + size_t(from) * size, size);
    for (const recdb::FieldDescriptor& field : Layout()) {
      if (field.type == recdb::FieldType::kText) {
        recdb::ClearTextSlotTail(record + field.offset, field.text_width);
      }
    }
  };
  return WriteStoredRecords(databases, files, path, kLedgerAlias, LedgerFields(), order.size(),
                            encode, message);
}

std::unordered_map<Text, CumulativeSums> SumsBefore(const std::vector<LedgerEntry>& entries,
                                                    int month) {
  std::unordered_map<Text, CumulativeSums> sums;
  for (const LedgerEntry& entry : entries) {
    if (entry.month < month) sums[entry.number].Add(entry.figures);
  }
  return sums;
}

std::vector<int> MonthsOf(const std::vector<LedgerEntry>& entries) {
  std::vector<int> months;
  for (const LedgerEntry& entry : entries) months.push_back(entry.month);
  std::sort(months.begin(), months.end());
  months.erase(std::unique(months.begin(), months.end()), months.end());
  return months;
}

int LastMonth(const std::vector<LedgerEntry>& entries) {
  int last = 0;
  for (const LedgerEntry& entry : entries) last = std::max(last, entry.month);
  return last;
}

std::vector<LedgerEntry> ReplaceMonth(std::vector<LedgerEntry> entries, int month,
                                      std::vector<LedgerEntry> fresh) {
  std::vector<LedgerEntry> result = std::move(entries);
  std::erase_if(result, [month](const LedgerEntry& entry) { return entry.month == month; });
  result.reserve(result.size() + fresh.size());
  for (LedgerEntry& entry : fresh) result.push_back(std::move(entry));
  auto by_month = [](const LedgerEntry& a, const LedgerEntry& b) { return a.month < b.month; };
  // Usually the month calculated is the last one, and the records are in order already.
  if (!std::is_sorted(result.begin(), result.end(), by_month)) {
    std::stable_sort(result.begin(), result.end(), by_month);
  }
  return result;
}

}  // namespace sr::app
