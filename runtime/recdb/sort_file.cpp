#include "runtime/recdb/sort_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

#include "runtime/recdb/coding.h"
#include "runtime/recdb/errors.h"

namespace sr::recdb {
namespace {

template <typename T>
int Compare(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// Numbers in a total order, NaN after everything, so a damaged value cannot break the sort.
int CompareFloating(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return Compare(std::isnan(a), std::isnan(b));
  return Compare(a, b);
}

int CompareText(const uint8_t* a, const uint8_t* b, int32_t width) {
  for (int32_t n = 0; n < width; ++n) {
    if (a[n] != b[n]) return a[n] < b[n] ? -1 : 1;
    if (a[n] == 0) return 0;
  }
  return 0;
}

}  // namespace

int SortKeys::CompareValues(FieldType type, const uint8_t* a, const uint8_t* b, int32_t width) {
  switch (type) {
    case FieldType::kByte: return Compare(a[0], b[0]);
    case FieldType::kShort:
      return Compare(static_cast<int16_t>(GetU16(a)), static_cast<int16_t>(GetU16(b)));
    case FieldType::kInt: return Compare(GetI32(a), GetI32(b));
    case FieldType::kInt64: return Compare(GetI64(a), GetI64(b));
    case FieldType::kFloat: return CompareFloating(GetFloat(a), GetFloat(b));
    case FieldType::kDouble:
    case FieldType::kDateTime: return CompareFloating(GetDouble(a), GetDouble(b));
    case FieldType::kBool: return Compare(a[0] != 0, b[0] != 0);
    case FieldType::kSubroutine: return Compare(GetU32(a), GetU32(b));
    case FieldType::kText: return CompareText(a, b, width);
    case FieldType::kBytes:
    case FieldType::kMemo: break;
  }
  return 0;
}

SortKeys::SortKeys(const std::vector<FieldDescriptor>& fields, const std::vector<int>& keys,
                   const std::vector<bool>& ascending) {
  for (size_t i = 0; i < keys.size(); ++i) {
    const FieldDescriptor& field = fields[keys[i]];
    bool descending = i < ascending.size() && !ascending[i];
    keys_.push_back({field.type, field.offset, field.width(), entry_width_, descending});
    entry_width_ += field.width();
  }
}

void SortKeys::Add(int32_t position, const uint8_t* record) {
  positions_.push_back(position);
  for (const Key& key : keys_) {
    entries_.append(reinterpret_cast<const char*>(record + key.record_offset), key.width);
  }
}

bool SortKeys::Before(size_t a, size_t b) const {
  const uint8_t* x = Raw(entries_) + a * entry_width_;
  const uint8_t* y = Raw(entries_) + b * entry_width_;
  for (const Key& key : keys_) {
    int order = CompareValues(key.type, x + key.entry_offset, y + key.entry_offset, key.width);
    if (order != 0) return key.descending ? order > 0 : order < 0;
  }
  return false;
}

std::vector<int32_t> SortKeys::SortedPositions() const {
  std::vector<size_t> order(positions_.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [this](size_t a, size_t b) { return Before(a, b); });
  std::vector<int32_t> sorted;
  sorted.reserve(order.size());
  for (size_t n : order) sorted.push_back(positions_[n]);
  return sorted;
}

SortWriter::SortWriter(fs::FileSystem& fs, Database& source, std::vector<FieldDescriptor> fields)
    : fs_(fs), source_(source), source_fields_(fields), fields_(std::move(fields)) {
  record_size_ = AssignOffsets(&fields_);
}

int SortWriter::Open(const Text& path) {
  std::unique_ptr<fs::File> raw;
  int code = fs_.Open(path, fs::Access::kReadWrite, fs::Share::kExclusive,
                      fs::Disposition::kOpenExisting, &raw);
  if (code != fs::kOk) return code;
  file_ = std::make_unique<CipherFile>(std::move(raw), source_.cipher());
  bool has_chains = std::any_of(fields_.begin(), fields_.end(),
                                [](const FieldDescriptor& f) { return IsChainType(f.type); });
  if (!has_chains) return kDbOk;
  code = fs_.Open(CompanionPath(path), fs::Access::kReadWrite, fs::Share::kExclusive,
                  fs::Disposition::kOpenExisting, &raw);
  if (code != fs::kOk) return kDbCompanionAccess;
  companion_ = std::make_unique<Companion>(CipherFile(std::move(raw), source_.cipher()));
  return kDbOk;
}

int SortWriter::BuildRecord(const std::string& source, int32_t serial, std::string* out) {
  size_t start = out->size();
  out->append(record_size_, '\0');
  uint8_t* record = Raw(*out) + start;
  PutI32(record, GetI32(Raw(source)) < 0 ? -serial : serial);
  for (size_t n = 0; n < fields_.size(); ++n) {
    const uint8_t* from = Raw(source) + source_fields_[n].offset;
    uint8_t* to = record + fields_[n].offset;
    if (!IsChainType(fields_[n].type)) {
      std::memcpy(to, from, fields_[n].width());
      continue;
    }
    std::string value;
    int code = source_.ReadChain(GetI32(from), &value);
    if (code != kDbOk) return code;
    // A new chain replaces nothing; the record is written after it.
    code = companion_->WriteChain(value, 0, [to](int32_t first) {
      PutI32(to, first);
      return static_cast<int>(kDbOk);
    });
    if (code != kDbOk) return code;
  }
  return kDbOk;
}

int SortWriter::Write(const std::vector<int32_t>& positions) {
  const int64_t data_start = DataStart(fields_.size());
  const size_t batch_bytes = 163840;
  std::string source;
  std::string batch;
  int64_t batch_start = data_start;
  int32_t serial = 0;
  for (int32_t position : positions) {
    int code = source_.ReadRecords(position, 1, &source);
    if (code != kDbOk) return code;
    if ((code = BuildRecord(source, ++serial, &batch)) != kDbOk) return code;
    if (batch.size() >= batch_bytes) {
      if ((code = file_->WriteAt(batch_start, batch)) != fs::kOk) return code;
      batch_start += batch.size();
      batch.clear();
    }
  }
  int code = batch.empty() ? fs::kOk : file_->WriteAt(batch_start, batch);
  if (code != fs::kOk) return code;
  uint8_t header[8];
  PutI32(header, serial);
  PutI32(header + 4, serial + 1);
  return file_->WriteAt(kCountOffset, header, 8);
}

}  // namespace sr::recdb
