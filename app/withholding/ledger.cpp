#include "app/withholding/ledger.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "app/register/amount_cells.h"
#include "app/withholding/record_tail.h"
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
                                         &LedgerEntry::id_number, &LedgerEntry::id_type,
                                         &LedgerEntry::method};

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

// Whether the record at `index` is stored as writing the whole ledger stores it: its serial
// number follows from its place, and its texts have nothing after their end.
bool IsAsWritten(const uint8_t* record, size_t index) {
  static const std::vector<recdb::FieldDescriptor> kTexts = [] {
    std::vector<recdb::FieldDescriptor> texts;
    for (const recdb::FieldDescriptor& field : Layout()) {
      if (field.type == recdb::FieldType::kText) texts.push_back(field);
    }
    return texts;
  }();
  if (recdb::GetI32(record) != int32_t(index + 1)) return false;
  for (const recdb::FieldDescriptor& field : kTexts) {
    const uint8_t* slot = record + field.offset;
    const uint8_t* end = slot + field.text_width;
    const uint8_t* at = static_cast<const uint8_t*>(std::memchr(slot, 0, size_t(end - slot)));
    if (at == nullptr) continue;
    // Word by word: this runs over every byte of the year's texts.
    uint64_t any = 0;
    for (; end - at >= 8; at += 8) any |= recdb::GetU64(at);
    // The last bytes within the word that ends the slot (a text slot is 8 bytes or wider),
    // those before them shifted out.
    if (at < end) any |= recdb::GetU64(end - 8) >> (8 * (8 - (end - at)));
    if (any != 0) return false;
  }
  return true;
}

}  // namespace

std::vector<recdb::FieldDescriptor> LedgerFields() {
  std::vector<recdb::FieldDescriptor> fields = {
      WholeField("月份"),         TextField("编号", 20),     TextField("姓名", 20),
      TextField("证件号码", 30), TextField("证件类型", 24), TextField("计算方法", 12)};
  for (const AmountField& f : kHeadAmounts) fields.push_back(NumberField(f.name));
  fields.push_back(WholeField("预扣率"));
  for (const AmountField& f : kTailAmounts) fields.push_back(NumberField(f.name));
  fields.push_back(TextField("来源", 200));
  return fields;
}

std::vector<recdb::FieldDescriptor> EarlierLedgerFields() {
  std::vector<recdb::FieldDescriptor> fields = LedgerFields();
  std::erase_if(fields, [](const recdb::FieldDescriptor& field) {
    return field.name == "证件类型" || field.name == "计算方法";
  });
  return fields;
}

Text LedgerPath(const Text& folder, int year) {
  return Concat({folder, "/扣缴台账", ToText(year), ".dat"});
}

namespace {

// Where 月份 lies in a record.
int32_t MonthOffset() { return Layout().front().offset; }

// The message for a record of another year than `year`.
Text OtherYearProblem(const uint8_t* record, const Text& path, int year) {
  LedgerEntry entry;
  DecodeRecord(record, entry);
  return Concat({"扣缴台账 ", path, " 中有 ", ToText(YearMonth(entry)), " 的记录（", entry.number,
                 " ", entry.name, "），不是 ", ToText(year), " 年的台账，本次没有计算"});
}

// A record of a ledger of the earlier layout as this layout holds it: by the cumulative method,
// its income with the tax-exempt income it left out (see EarlierLedgerFields).
void Upgrade(uint8_t* record) {
  LedgerEntry e;
  DecodeRecord(record, e);
  e.method = kCumulativeMethod;
  if (e.source.rfind(kTakenOverSource, 0) != 0) {
    e.figures.income = RoundToPlaces(e.figures.income + e.figures.exempt_income, 2);
    e.result.sums.income = RoundToPlaces(e.result.sums.income + e.result.sums.exempt_income, 2);
  }
  EncodeRecord(e, record);
}

std::string_view TextAt(const uint8_t* record, const recdb::FieldDescriptor& field) {
  const char* text = reinterpret_cast<const char*>(record + field.offset);
  return std::string_view(text, strnlen(text, size_t(field.text_width)));
}

// The first amount of the record at `index` (from 1) that the program cannot handle, as a
// message; empty when there is none.
Text AmountProblem(const uint8_t* record, int64_t index, const Text& path) {
  for (const recdb::FieldDescriptor& field : Layout()) {
    if (field.type != recdb::FieldType::kDouble) continue;
    const double amount = recdb::GetDouble(record + field.offset);
    if (IsStoredAmountHandled(amount)) continue;
    const Text whom =
        Concat({Text(TextAt(record, Layout()[1])), " ", Text(TextAt(record, Layout()[2]))});
    return StoredAmountProblem(Concat({"扣缴台账 ", path}), index, whom, field.name, amount);
  }
  return Text();
}

// Hands every record of the ledger of `year` at `path` (a missing file has none) to `each`
// with its month; `begin` is told the number of records and the file's creation time first.
// False with a message when the file cannot be read or holds a record of another year.
// `earlier`, when given, is told whether the file has the earlier layout.
bool ReadLedger(DatabaseTable& databases, fs::FileSystem& files, const Text& path, int year,
                const std::function<void(int32_t count, double created)>& begin,
                const std::function<void(const uint8_t* record, int month)>& each,
                Text* message, bool* earlier = nullptr) {
  if (!RecoverRecordFile(files, path, message)) return false;
  if (!FileExists(files, path)) return true;
  const int32_t month_at = MonthOffset();
  bool other_year = false;
  int64_t index = 0;
  auto take = [&](const uint8_t* record, Text* problem) {
    const int64_t month = int64_t{recdb::GetI32(record + month_at)} - int64_t{year} * 100;
    if (month < 1 || month > 12) {
      other_year = true;
      *problem = OtherYearProblem(record, path, year);
      return false;
    }
    // No infinity or NaN of a damaged file reaches a sum or a tax.
    if (*problem = AmountProblem(record, ++index, path); !problem->empty()) return false;
    each(record, int(month));
    return true;
  };
  Text problem;
  static const EarlierLayout kEarlier{EarlierLedgerFields(), Upgrade};
  if (!ReadStoredRecords(databases, path, kLedgerAlias, LedgerFields(), begin, take, &problem,
                         &kEarlier, earlier)) {
    if (problem == FileInUse(path)) {
      *message = Concat({"扣缴台账 ", path, " 正被另一个程序使用（可能是另一个打开着的本程序），"
                         "本次没有计算，请稍后再试"});
    } else {
      *message = other_year ? problem : Concat({"扣缴台账有问题，本次没有计算：", problem});
    }
    return false;
  }
  return true;
}

// Reads what the calculation of one month needs from each record, and nothing else: no record
// is decoded whole.
class MonthReader {
 public:
  MonthReader(LedgerOfMonth* ledger, bool keep_all) : ledger_(*ledger), keep_all_(keep_all) {
    // The month's figures in a record, read straight into `figures_`.
    auto field = Layout().begin() + 1 + std::size(kHeadTexts);
    for (const AmountField& f : kHeadAmounts) {
      double* at = &f.at(scratch_);
      const char* in = reinterpret_cast<const char*>(&scratch_.figures);
      if (reinterpret_cast<const char*>(at) >= in &&
          reinterpret_cast<const char*>(at) < in + sizeof(MonthFigures)) {
        figures_.push_back({field->offset, at});
      }
      ++field;
    }
  }

  // Its figure slots point into its own scratch entry.
  MonthReader(const MonthReader&) = delete;
  MonthReader& operator=(const MonthReader&) = delete;

  void Begin(int32_t count, double created) {
    ledger_.stamp = {true, created, count};
    if (keep_all_) ledger_.stored.reserve(size_t(count) * TheLayout().record_size);
    ledger_.months.reserve(size_t(count));
  }

  void Take(const uint8_t* record, int month) {
    LedgerOfMonth& l = ledger_;
    l.as_written = l.as_written && IsAsWritten(record, l.months.size()) &&
                   (l.months.empty() || l.months.back() <= month);
    if (keep_all_ || month == l.month) {
      l.stored.append(reinterpret_cast<const char*>(record), TheLayout().record_size);
    }
    l.months.push_back(static_cast<int8_t>(month));
    if (month < l.month) {
      SumsOf(month, TextAt(record, Layout()[1])).Add(FiguresOf(record));
    }
    if (month == l.month) {
      const std::string_view source = TextAt(record, Layout().back());
      if (std::find(l.sources.begin(), l.sources.end(), source) == l.sources.end()) {
        l.sources.emplace_back(source);
      }
      if (!l.source.empty() && source != l.source) {
        l.this_month[Text(TextAt(record, Layout()[1]))].Add(FiguresOf(record));
      }
    }
  }

 private:
  struct FigureSlot {
    int32_t offset;
    double* at;
  };

  const MonthFigures& FiguresOf(const uint8_t* record) {
    for (const FigureSlot& slot : figures_) *slot.at = recdb::GetDouble(record + slot.offset);
    return scratch_.figures;
  }

  // The sums of the person `number`. Month after month the ledger usually lists the same people
  // in the same order: the person at the same place in the month before is tried first.
  CumulativeSums& SumsOf(int month, std::string_view number) {
    if (month != month_) {
      month_ = month;
      place_ = 0;
    }
    const size_t place = place_++;
    if (place < by_place_.size() && *by_place_[place].first == number) {
      return *by_place_[place].second;
    }
    auto& entry = *ledger_.earlier.try_emplace(Text(number)).first;
    if (place >= by_place_.size()) by_place_.resize(place + 1);
    by_place_[place] = {&entry.first, &entry.second};
    return entry.second;
  }

  LedgerOfMonth& ledger_;
  const bool keep_all_;
  LedgerEntry scratch_;
  std::vector<FigureSlot> figures_;
  int month_ = 0;
  size_t place_ = 0;
  std::vector<std::pair<const Text*, CumulativeSums*>> by_place_;
};

bool ReadLedgerOfMonth(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                       int year, int month, const Text& source, bool keep_all,
                       LedgerOfMonth* ledger, Text* message) {
  LedgerOfMonth empty;  // `source` may be the ledger's own
  empty.month = month;
  empty.source = source;
  *ledger = std::move(empty);
  MonthReader reader(ledger, keep_all);
  bool earlier = false;
  const bool ok = ReadLedger(
      databases, files, path, year,
      [&](int32_t count, double created) { reader.Begin(count, created); },
      [&](const uint8_t* record, int m) { reader.Take(record, m); }, message, &earlier);
  // A ledger of the earlier layout is written whole in this one.
  if (earlier) ledger->as_written = false;
  return ok;
}

}  // namespace

bool LoadLedger(DatabaseTable& databases, fs::FileSystem& files, const Text& path, int year,
                std::vector<LedgerEntry>* entries, Text* message, LedgerStamp* stamp) {
  entries->clear();
  if (stamp != nullptr) *stamp = LedgerStamp();
  const bool ok = ReadLedger(
      databases, files, path, year,
      [&](int32_t count, double created) {
        entries->reserve(size_t(count));
        if (stamp != nullptr) *stamp = {true, created, count};
      },
      [&](const uint8_t* record, int) { DecodeRecord(record, entries->emplace_back()); },
      message);
  if (!ok) entries->clear();
  return ok;
}

bool LoadLedgerOfMonth(DatabaseTable& databases, fs::FileSystem& files, const Text& path, int year,
                       int month, LedgerOfMonth* ledger, Text* message, const Text& source) {
  // Usually the month is written in place, and only its own records' bytes are needed; else
  // the whole ledger is written anew from every record's bytes, which a second reading keeps.
  if (!ReadLedgerOfMonth(databases, files, path, year, month, source, false, ledger, message)) {
    return false;
  }
  if (InPlace(*ledger)) return true;
  return ReadLedgerOfMonth(databases, files, path, year, month, source, true, ledger, message);
}

namespace {

// Whether the ledger at `path` is still the file that `stamp` was taken of, or still missing.
bool StillAsRead(fs::FileSystem& files, const Text& path, const LedgerStamp& stamp) {
  std::unique_ptr<fs::File> file;
  const int code = files.Open(path, fs::Access::kRead, fs::Share::kDenyNone,
                              fs::Disposition::kOpenExisting, &file);
  if (code == fs::kNotFound || !stamp.existed) return code == fs::kNotFound && !stamp.existed;
  uint8_t bytes[recdb::kHeaderSize];
  size_t got = 0;
  recdb::Header header;
  return code == fs::kOk && file->ReadAt(0, bytes, sizeof bytes, &got) == fs::kOk &&
         got == sizeof bytes && recdb::DecodeHeader(bytes, &header) &&
         header.created == stamp.created && header.record_count == stamp.count;
}

// Whether the stored record at `record`, one of the ledger's month, is replaced by its fresh
// records: every one when the ledger has no source, else those of its source.
bool Replaced(const LedgerOfMonth& ledger, const char* record) {
  return ledger.source.empty() ||
         TextAt(reinterpret_cast<const uint8_t*>(record), Layout().back()) == ledger.source;
}

// `again`: what the user does once more, now from the ledger as it is.
Text ChangedMeanwhile(const Text& path, const char* again) {
  return Concat({"扣缴台账 ", path, " 在读出之后被改动过，本次没有保存，请重新", again});
}

// The month's records written over the ledger's last month or after it.
TailWrite WriteMonthInPlace(fs::FileSystem& files, const Text& path, const LedgerOfMonth& ledger,
                            const std::vector<LedgerEntry>& fresh, Text* message) {
  const size_t size = TheLayout().record_size;
  const int32_t count = int32_t(ledger.months.size());
  // The other registers' records of the month stay, before the fresh ones.
  std::string records;
  for (size_t at = 0; at < ledger.stored.size(); at += size) {
    if (!Replaced(ledger, ledger.stored.data() + at)) records.append(ledger.stored, at, size);
  }
  const size_t kept = records.size();
  records.resize(kept + fresh.size() * size, '\0');
  for (size_t i = 0; i < fresh.size(); ++i) {
    EncodeRecord(fresh[i], reinterpret_cast<uint8_t*>(records.data()) + kept + i * size);
  }
  return ReplaceTailRecords(files, path, LedgerFields(), ledger.stamp.created, count,
                            count - int32_t(ledger.stored.size() / size), ledger.stored,
                            std::move(records), message);
}

}  // namespace

bool SaveLedger(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                const std::vector<LedgerEntry>& entries, Text* message,
                const LedgerStamp* as_read) {
  // A journal left behind would otherwise roll the new file back to parts of the old one. No
  // other writer changes the file from the check until the new file is in its place.
  const auto lock = LockForWriting(files, path, message);
  if (lock == nullptr) return false;
  if (as_read != nullptr && !StillAsRead(files, path, *as_read)) {
    *message = ChangedMeanwhile(path, "导入");
    return false;
  }
  return WriteStoredRecords(
      databases, files, path, kLedgerAlias, LedgerFields(), entries.size(),
      [&](size_t i, uint8_t* record) { EncodeRecord(entries[i], record); }, message,
      as_read != nullptr ? as_read->created : 0);
}

bool SaveLedgerOfMonth(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                       const LedgerOfMonth& ledger, const std::vector<LedgerEntry>& fresh,
                       Text* message) {
  // Held until the month is in place or the new ledger has taken the old one's place.
  const auto lock = LockForWriting(files, path, message);
  if (lock == nullptr) return false;
  if (InPlace(ledger)) {
    switch (WriteMonthInPlace(files, path, ledger, fresh, message)) {
      case TailWrite::kWritten: return true;
      case TailWrite::kFailed: return false;
      case TailWrite::kNotInPlace: break;
    }
  }
  // Only the month's own records may have been kept, and the rest of a ledger written anew
  // since would be lost: the whole ledger is written from what was read only when it is still
  // what was read.
  if (ledger.stored.size() != ledger.months.size() * TheLayout().record_size ||
      !StillAsRead(files, path, ledger.stamp)) {
    *message = ChangedMeanwhile(path, "计算");
    return false;
  }
  // Each record of the new ledger with its month: a stored record by its index, a fresh one as
  // -1 - its index; in the order ReplaceMonth gives.
  std::vector<std::pair<int, int32_t>> order;
  order.reserve(ledger.months.size() + fresh.size());
  const size_t size = TheLayout().record_size;
  for (size_t i = 0; i < ledger.months.size(); ++i) {
    if (ledger.months[i] != ledger.month || !Replaced(ledger, ledger.stored.data() + i * size)) {
      order.emplace_back(ledger.months[i], int32_t(i));
    }
  }
  for (size_t i = 0; i < fresh.size(); ++i) order.emplace_back(fresh[i].month, -1 - int32_t(i));
  auto by_month = [](const auto& a, const auto& b) { return a.first < b.first; };
  if (!std::is_sorted(order.begin(), order.end(), by_month)) {
    std::stable_sort(order.begin(), order.end(), by_month);
  }
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
                            encode, message, ledger.stamp.created);
}

std::vector<LedgerEntry> RecordsOfMonth(const LedgerOfMonth& ledger) {
  const size_t size = TheLayout().record_size;
  // Only the month's own records are kept, or every record in file order.
  const bool every = ledger.stored.size() == ledger.months.size() * size;
  std::vector<LedgerEntry> records;
  for (size_t i = 0; i * size < ledger.stored.size(); ++i) {
    if (every && ledger.months[i] != ledger.month) continue;
    DecodeRecord(reinterpret_cast<const uint8_t*>(ledger.stored.data()) + i * size,
                 records.emplace_back());
  }
  return records;
}

bool InPlace(const LedgerOfMonth& ledger) {
  return ledger.as_written && (ledger.months.empty() || ledger.months.back() <= ledger.month);
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
                                      std::vector<LedgerEntry> fresh, const Text& source) {
  std::vector<LedgerEntry> result = std::move(entries);
  std::erase_if(result, [&](const LedgerEntry& entry) {
    return entry.month == month && (source.empty() || entry.source == source);
  });
  result.reserve(result.size() + fresh.size());
  for (LedgerEntry& entry : fresh) result.push_back(std::move(entry));
  auto by_month = [](const LedgerEntry& a, const LedgerEntry& b) { return a.month < b.month; };
  // Usually the month calculated is the last one, and the records are in order already.
  if (!std::is_sorted(result.begin(), result.end(), by_month)) {
    std::stable_sort(result.begin(), result.end(), by_month);
  }
  return result;
}

bool SameRecords(const std::vector<LedgerEntry>& a, const std::vector<LedgerEntry>& b) {
  if (a.size() != b.size()) return false;
  const size_t size = TheLayout().record_size;
  for (size_t i = 0; i < a.size(); ++i) {
    std::string one(size, '\0'), other(size, '\0');
    LedgerEntry left = a[i], right = b[i];
    left.source.clear();
    right.source.clear();
    EncodeRecord(left, reinterpret_cast<uint8_t*>(one.data()));
    EncodeRecord(right, reinterpret_cast<uint8_t*>(other.data()));
    if (one != other) return false;
  }
  return true;
}

std::unordered_map<Text, CumulativeSums> SumsOfOtherRegisters(
    const std::vector<LedgerEntry>& entries, int month, const Text& source) {
  std::unordered_map<Text, CumulativeSums> sums;
  for (const LedgerEntry& entry : entries) {
    if (entry.month == month && entry.source != source) sums[entry.number].Add(entry.figures);
  }
  return sums;
}

std::vector<LedgerEntry> PersonMonths(const std::vector<LedgerEntry>& entries, int month) {
  std::vector<LedgerEntry> people;
  std::unordered_map<Text, size_t> at;
  for (const LedgerEntry& entry : entries) {
    if (entry.month != month) continue;
    const auto [place, first] = at.try_emplace(entry.number, people.size());
    if (first) {
      people.push_back(entry);
      continue;
    }
    LedgerEntry& person = people[place->second];
    MonthFigures summed = person.figures;
    const MonthFigures& more = entry.figures;
    auto add = [](double& sum, double amount) { sum = RoundToPlaces(sum + amount, 2); };
    for (double MonthFigures::*amount :
         {&MonthFigures::income, &MonthFigures::exempt_income, &MonthFigures::special,
          &MonthFigures::other, &MonthFigures::relief, &MonthFigures::withheld}) {
      add(summed.*amount, more.*amount);
    }
    for (int k = 0; k < kAdditionalKinds; ++k) add(summed.additional[k], more.additional[k]);
    const double basic = std::max(person.basic, entry.basic);
    person = entry;
    person.figures = summed;
    person.basic = basic;
  }
  return people;
}

}  // namespace sr::app
