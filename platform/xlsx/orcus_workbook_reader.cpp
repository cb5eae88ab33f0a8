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

// Bounds that keep a damaged or hostile file from making the rows vast: the register holds
// 5,000 people and 22 columns, and the import refuses far less than this.
constexpr long kMaxRows = 1 << 20;
constexpr long kMaxColumns = 1 << 14;

class Package {
 public:
  explicit Package(std::string_view bytes)
      : stream_(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), zip_(&stream_) {
    zip_.load();
  }
  // The part's bytes; empty when the package has no such part.
  std::string Part(std::string name) const {
    if (!name.empty() && name.front() == '/') name.erase(0, 1);
    std::vector<unsigned char> buffer;
    if (!zip_.read_file_entry(name, buffer)) return std::string();
    return std::string(buffer.begin(), buffer.end());
  }

 private:
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

// xl/sharedStrings.xml: each <si>'s text, runs joined, phonetic runs left out.
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
    if (elem.name == "si") strings.push_back(current);
  }
  void characters(std::string_view text, bool) {
    if (in_text) current += text;
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
    } else if (elem.name == "v" || (elem.name == "t" && cell_type_ == "inlineStr")) {
      in_value_ = true;
    }
    reference_.clear(), type_.clear();
  }
  void end_element(const orcus::sax::parser_element& elem) {
    if (elem.name == "v" || elem.name == "t") in_value_ = false;
    if (elem.name == "c") Store();
  }
  void characters(std::string_view text, bool) {
    if (in_value_) value_ += text;
  }

 private:
  void Store() {
    if (row_ < 0 || column_ < 0 || row_ >= kMaxRows || column_ >= kMaxColumns) return;
    SheetCell cell;
    if (cell_type_ == "s") {
      size_t index = 0;
      std::from_chars(value_.data(), value_.data() + value_.size(), index);
      cell = {SheetCell::Kind::kText, index < strings_.size() ? strings_[index] : std::string()};
    } else if (cell_type_ == "str" || cell_type_ == "inlineStr") {
      cell = {SheetCell::Kind::kText, value_};
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
    if (static_cast<size_t>(row_) >= rows_->size()) rows_->resize(row_ + 1);
    std::vector<SheetCell>& cells = (*rows_)[row_];
    if (static_cast<size_t>(column_) >= cells.size()) cells.resize(column_ + 1);
    cells[column_] = std::move(cell);
  }

  const std::vector<std::string>& strings_;
  SheetRows* rows_;
  std::string reference_, type_, cell_type_, value_;
  long row_ = -1, column_ = -1;
  bool in_value_ = false;
};

bool Read(std::string_view bytes, SheetRows* rows, std::string* error) {
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
    *error = "the workbook has no worksheet";
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
  bool ReadFirstSheet(std::string_view bytes, SheetRows* rows, std::string* error) override {
    rows->clear();
    try {
      if (Read(bytes, rows, error)) return true;
    } catch (const std::exception& e) {
      *error = e.what();
    } catch (...) {
      *error = "unknown error";
    }
    if (error->empty()) *error = "unknown error";
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
