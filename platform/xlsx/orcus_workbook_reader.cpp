#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <orcus/sax_parser.hpp>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>
#include <utility>

#include "platform/xlsx/workbook_reader.h"

// liborcus 0.17 (Debian 12) brings a whole xlsx import filter, but it resolves a relationship
// target given as an absolute part name ("/xl/worksheets/sheet1.xml", as openpyxl and so pandas
// write it) to a part that does not exist and then reads no cell at all, without an error. So the
// workbook is read here with liborcus's zip archive and XML parser, following the package's
// relationships as the format defines them: the first sheet of xl/workbook.xml, its part from
// xl/_rels/workbook.xml.rels, and the shared strings.
namespace sr::xlsx {

std::string NumberText(double value) {
  if (!std::isfinite(value)) return value != value ? "nan" : value > 0 ? "inf" : "-inf";
  // A spreadsheet keeps 15 significant digits of what was typed; the rest of a double is noise
  // of its binary form (0.1 + 0.2), which the text must not show.
  char rounded[32];
  std::snprintf(rounded, sizeof rounded, "%.15g", value);
  double shown = 0;
  std::from_chars(rounded, rounded + std::char_traits<char>::length(rounded), shown);
  char text[400];
  const auto format =
      std::fabs(shown) < 1e21 ? std::chars_format::fixed : std::chars_format::general;
  const auto result = std::to_chars(text, text + sizeof text, shown, format);
  return std::string(text, result.ptr);
}

namespace {

// A little-endian number of `size` bytes at `at` of the file.
uint64_t Le(std::string_view bytes, size_t at, int size) {
  uint64_t value = 0;
  for (int k = size - 1; k >= 0; --k) {
    value = value << 8 | static_cast<unsigned char>(bytes[at + k]);
  }
  return value;
}

// Checks the part `name` against the bounds before it is inflated, by the sizes that the zip's
// central directory gives (liborcus inflates a part into a buffer of the size given there, so
// the part cannot grow past it). Throws the ReadFailure of a bound it passes.
void CheckPartSize(std::string_view zip, std::string_view name) {
  constexpr size_t kEnd = 22, kEntry = 46;  // the fixed sizes of the records
  constexpr std::string_view kEndMark("PK\x05\x06", 4), kEntryMark("PK\x01\x02", 4);
  if (zip.size() < kEnd) return;
  // The end record is the last one, after which only its comment (up to 64 KiB) may follow.
  size_t end = zip.size() - kEnd;
  const size_t lowest = end > 0xFFFF ? end - 0xFFFF : 0;
  while (end > lowest && zip.substr(end, 4) != kEndMark) --end;
  if (zip.substr(end, 4) != kEndMark) return;  // no zip: liborcus refuses it
  size_t at = Le(zip, end + 16, 4);
  for (uint64_t entries = Le(zip, end + 10, 2); entries > 0; --entries) {
    if (at + kEntry > zip.size() || zip.substr(at, 4) != kEntryMark) return;
    const uint64_t stored = Le(zip, at + 20, 4), inflated = Le(zip, at + 24, 4);
    const size_t name_size = Le(zip, at + 28, 2);
    // Every entry of the name counts (a package may hold one twice).
    if (at + kEntry + name_size <= zip.size() && zip.substr(at + kEntry, name_size) == name) {
      ReadFailure failure;
      if (inflated > kMostPartBytes) failure.limit = ReadFailure::Limit::kPartBytes;
      if (inflated >= (1 << 20) && inflated > kMostInflation * std::max<uint64_t>(stored, 1)) {
        failure.limit = ReadFailure::Limit::kInflation;
      }
      if (failure.limit != ReadFailure::Limit::kNone) {
        failure.detail = std::string(name) + " inflates to " + std::to_string(inflated) +
                         " bytes from " + std::to_string(stored);
        throw failure;
      }
    }
    at += kEntry + name_size + Le(zip, at + 30, 2) + Le(zip, at + 32, 2);
  }
}

// A worksheet's own bounds, which keep a cell reference from overflowing.
constexpr long kMaxRows = 1 << 20;
constexpr long kMaxColumns = 1 << 14;

[[noreturn]] void Beyond(ReadFailure::Limit limit, long row, long column) {
  ReadFailure failure;
  failure.limit = limit;
  failure.row = row, failure.column = column;
  failure.detail = "beyond a bound of the import";
  throw failure;
}

class Package {
 public:
  explicit Package(std::string_view bytes)
      : bytes_(bytes),
        stream_(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
        zip_(&stream_) {
    zip_.load();
  }
  // The part's bytes; empty when the package has no such part. Throws the ReadFailure of a part
  // beyond the bounds, before inflating it.
  std::string Part(std::string name) const {
    if (!name.empty() && name.front() == '/') name.erase(0, 1);
    CheckPartSize(bytes_, name);
    std::vector<unsigned char> buffer;
    if (!zip_.read_file_entry(name, buffer)) return std::string();
    return std::string(buffer.begin(), buffer.end());
  }

 private:
  std::string_view bytes_;
  orcus::zip_archive_stream_blob stream_;
  orcus::zip_archive zip_;
};

template <typename Handler>
void Parse(const std::string& xml, Handler& handler) {
  orcus::sax_parser<Handler> parser(xml.data(), xml.size(), handler);
  parser.parse();
}

// xl/workbook.xml: the relationship id of the first sheet.
struct FirstSheet : orcus::sax_handler {
  std::string id, pending;
  void attribute(const orcus::sax::parser_attribute& attr) {
    if (attr.name == "id" && !attr.ns.empty()) pending = attr.value;
  }
  void start_element(const orcus::sax::parser_element& elem) {
    if (elem.name == "sheet" && id.empty()) id = pending;
    pending.clear();
  }
};

// A relationships part: each id's target, and the target of the shared strings.
struct Relationships : orcus::sax_handler {
  std::vector<std::pair<std::string, std::string>> targets;  // id, target
  std::string shared_strings;
  std::string id, target, type;
  void attribute(const orcus::sax::parser_attribute& attr) {
    if (attr.name == "Id") id = attr.value;
    if (attr.name == "Target") target = attr.value;
    if (attr.name == "Type") type = attr.value;
  }
  void start_element(const orcus::sax::parser_element& elem) {
    if (elem.name == "Relationship") {
      targets.emplace_back(id, target);
      if (type.ends_with("/sharedStrings")) shared_strings = target;
    }
    id.clear(), target.clear(), type.clear();
  }
};

// A target relative to the workbook's folder, or an absolute part name.
std::string PartName(const std::string& target) {
  return target.starts_with('/') ? target.substr(1) : "xl/" + target;
}

// xl/sharedStrings.xml: each <si>'s text, runs joined, phonetic runs left out. A text is kept up
// to one byte past the bound of a cell, so that a cell using it is refused.
struct SharedStrings : orcus::sax_handler {
  std::vector<std::string> strings;
  std::string current;
  bool in_text = false;
  int phonetic = 0;
  void start_element(const orcus::sax::parser_element& elem) {
    if (elem.name == "si") current.clear();
    if (elem.name == "rPh") ++phonetic;
    if (elem.name == "t") in_text = phonetic == 0;
  }
  void end_element(const orcus::sax::parser_element& elem) {
    if (elem.name == "t") in_text = false;
    if (elem.name == "rPh") --phonetic;
    if (elem.name != "si") return;
    if (static_cast<long>(strings.size()) == kMostTexts) {
      Beyond(ReadFailure::Limit::kTexts, -1, -1);
    }
    strings.push_back(current);
  }
  void characters(std::string_view text, bool) {
    const size_t room = kMostCellBytes + 1 - std::min(current.size(), kMostCellBytes + 1);
    if (in_text) current += text.substr(0, room);
  }
};

// "AB12" -> row 11, column 27; false for anything else.
bool ParseReference(std::string_view ref, long* row, long* column) {
  long c = 0, r = 0;
  size_t i = 0;
  for (; i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z' && c <= kMaxColumns; ++i) {
    c = c * 26 + (ref[i] - 'A' + 1);
  }
  if (i == 0 || i == ref.size()) return false;
  for (; i < ref.size() && ref[i] >= '0' && ref[i] <= '9' && r <= kMaxRows; ++i) {
    r = r * 10 + (ref[i] - '0');
  }
  if (i != ref.size() || r == 0) return false;
  *row = r - 1, *column = c - 1;
  return true;
}

// A worksheet part: the cells as texts.
class SheetCells : public orcus::sax_handler {
 public:
  SheetCells(const std::vector<std::string>& strings, SheetRows* rows)
      : strings_(strings), rows_(rows) {}

  void attribute(const orcus::sax::parser_attribute& attr) {
    if (attr.name == "r") reference_ = attr.value;
    if (attr.name == "t") type_ = attr.value;
  }
  void start_element(const orcus::sax::parser_element& elem) {
    if (elem.name == "row") {
      long row = 0;
      row_ = !reference_.empty() && std::from_chars(reference_.data(), reference_.data() +
                                                        reference_.size(), row).ec == std::errc()
                 ? row - 1
                 : row_ + 1;
      column_ = -1;
    } else if (elem.name == "c") {
      long row = row_, column = column_ + 1;
      if (!reference_.empty()) ParseReference(reference_, &row, &column);
      row_ = row, column_ = column;
      cell_type_ = type_;
      value_.clear();
      has_formula_ = has_value_ = false;
    } else if (elem.name == "v" || (elem.name == "t" && cell_type_ == "inlineStr")) {
      in_value_ = has_value_ = true;
    } else if (elem.name == "f") {
      has_formula_ = true;
    }
    reference_.clear(), type_.clear();
  }
  void end_element(const orcus::sax::parser_element& elem) {
    if (elem.name == "v" || elem.name == "t") in_value_ = false;
    if (elem.name == "c") Store();
  }
  void characters(std::string_view text, bool) {
    if (!in_value_) return;
    if (value_.size() + text.size() > kMostCellBytes) {
      Beyond(ReadFailure::Limit::kCellBytes, row_, column_);
    }
    value_ += text;
  }

 private:
  void Store() {
    if (row_ < 0 || column_ < 0) return;
    SheetCell cell;
    if (cell_type_ == "s") {
      size_t index = 0;
      std::from_chars(value_.data(), value_.data() + value_.size(), index);
      cell = {SheetCell::Kind::kText, index < strings_.size() ? strings_[index] : std::string()};
    } else if ((cell_type_ == "str" && (has_value_ || !has_formula_)) ||
               cell_type_ == "inlineStr") {
      cell = {SheetCell::Kind::kText, value_};
    } else if (has_formula_ && value_.empty()) {
      // Never calculated, as openpyxl writes formulas: only a text result (t="str") may be
      // empty, and it is taken above.
      cell = {SheetCell::Kind::kNoValue, std::string()};
    } else if (cell_type_ == "b") {
      cell = {SheetCell::Kind::kOther, value_ == "1" ? "TRUE" : "FALSE"};
    } else if (cell_type_ == "e") {
      cell = {SheetCell::Kind::kOther, value_};
    } else if (!value_.empty()) {
      double number = 0;
      const auto end = value_.data() + value_.size();
      const auto parsed = std::from_chars(value_.data(), end, number);
      cell = parsed.ec == std::errc() && parsed.ptr == end
                 ? SheetCell{SheetCell::Kind::kNumber, NumberText(number)}
                 : SheetCell{SheetCell::Kind::kOther, value_};
    }
    if (cell.kind == SheetCell::Kind::kEmpty) return;
    if (row_ >= kMostRows) Beyond(ReadFailure::Limit::kRows, row_, column_);
    if (column_ >= kMostColumns) Beyond(ReadFailure::Limit::kColumns, row_, column_);
    if (cell.text.size() > kMostCellBytes) Beyond(ReadFailure::Limit::kCellBytes, row_, column_);
    if (static_cast<size_t>(row_) >= rows_->size()) rows_->resize(row_ + 1);
    std::vector<SheetCell>& cells = (*rows_)[row_];
    if (static_cast<size_t>(column_) >= cells.size()) cells.resize(column_ + 1);
    cells[column_] = std::move(cell);
  }

  const std::vector<std::string>& strings_;
  SheetRows* rows_;
  std::string reference_, type_, cell_type_, value_;
  long row_ = -1, column_ = -1;
  bool in_value_ = false, has_formula_ = false, has_value_ = false;
};

bool Read(std::string_view bytes, SheetRows* rows, ReadFailure* failure) {
  Package package(bytes);
  FirstSheet first;
  Parse(package.Part("xl/workbook.xml"), first);
  Relationships relationships;
  Parse(package.Part("xl/_rels/workbook.xml.rels"), relationships);
  std::string sheet_part;
  for (const auto& [id, target] : relationships.targets) {
    if (id == first.id) sheet_part = PartName(target);
  }
  const std::string sheet = package.Part(sheet_part);
  if (first.id.empty() || sheet.empty()) {
    failure->detail = "the workbook has no worksheet";
    return false;
  }
  SharedStrings strings;
  const std::string strings_part =
      relationships.shared_strings.empty() ? "xl/sharedStrings.xml"
                                           : PartName(relationships.shared_strings);
  const std::string strings_xml = package.Part(strings_part);
  if (!strings_xml.empty()) Parse(strings_xml, strings);
  SheetCells cells(strings.strings, rows);
  Parse(sheet, cells);
  return true;
}

class Reader : public WorkbookReader {
 public:
  bool ReadFirstSheet(std::string_view bytes, SheetRows* rows, ReadFailure* failure) override {
    rows->clear();
    *failure = {};
    try {
      if (Read(bytes, rows, failure)) return true;
    } catch (const ReadFailure& beyond) {
      *failure = beyond;
    } catch (const std::exception& e) {  // std::bad_alloc too
      failure->detail = e.what();
    } catch (...) {
      failure->detail = "unknown error";
    }
    if (failure->detail.empty()) failure->detail = "unknown error";
    rows->clear();
    return false;
  }
};

}  // namespace

WorkbookReader& RealWorkbookReader() {
  static Reader reader;
  return reader;
}

}  // namespace sr::xlsx
