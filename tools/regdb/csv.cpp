#include "tools/regdb/csv.h"

namespace sr::regdb {

std::string CsvField(std::string_view value) {
  if (value.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(value);
  std::string out = "\"";
  for (char c : value) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string CsvLine(const CsvRow& row) {
  if (row.size() == 1 && row[0].empty()) return "\"\"\r\n";
  std::string line;
  for (size_t i = 0; i < row.size(); ++i) {
    if (i > 0) line += ',';
    line += CsvField(row[i]);
  }
  line += "\r\n";
  return line;
}

namespace {

// A small state machine over the whole text; `pos` always points at the next unread byte.
class CsvReader {
 public:
  explicit CsvReader(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  }

  bool Run(std::vector<CsvRecord>* records, std::string* error) {
    while (pos_ < text_.size()) {
      if (AtLineEnd()) {  // a blank line
        SkipLineEnd();
        continue;
      }
      CsvRecord record;
      record.line = line_;
      if (!ReadRecord(&record.fields, error)) return false;
      records->push_back(std::move(record));
    }
    return true;
  }

 private:
  bool AtLineEnd() const {
    return text_[pos_] == '\n' || (text_[pos_] == '\r' && pos_ + 1 < text_.size() &&
                                   text_[pos_ + 1] == '\n');
  }
  void SkipLineEnd() {
    if (text_[pos_] == '\r') ++pos_;
    ++pos_;
    ++line_;
  }

  bool ReadRecord(CsvRow* row, std::string* error) {
    for (;;) {
      std::string field;
      if (pos_ < text_.size() && text_[pos_] == '"') {
        if (!ReadQuoted(&field, error)) return false;
      } else if (!ReadPlain(&field, error)) {
        return false;
      }
      row->push_back(std::move(field));
      if (pos_ >= text_.size()) return true;
      if (text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      SkipLineEnd();  // ReadQuoted/ReadPlain stop only at a comma, a line end or the end
      return true;
    }
  }

  bool ReadPlain(std::string* field, std::string* error) {
    while (pos_ < text_.size() && text_[pos_] != ',' && !AtLineEnd()) {
      if (text_[pos_] == '"') return Fail("a double quote inside an unquoted field", error);
      *field += text_[pos_++];
    }
    return true;
  }

  bool ReadQuoted(std::string* field, std::string* error) {
    const int start_line = line_;
    ++pos_;  // the opening quote
    for (;;) {
      if (pos_ >= text_.size()) {
        line_ = start_line;
        return Fail("a quoted field is not closed", error);
      }
      char c = text_[pos_++];
      if (c == '"') {
        if (pos_ < text_.size() && text_[pos_] == '"') {
          *field += '"';
          ++pos_;
          continue;
        }
        if (pos_ < text_.size() && text_[pos_] != ',' && !AtLineEnd()) {
          return Fail("text after the closing double quote", error);
        }
        return true;
      }
      if (c == '\n') ++line_;
      *field += c;
    }
  }

  bool Fail(const std::string& what, std::string* error) {
    *error = "line " + std::to_string(line_) + ": " + what;
    return false;
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

bool ParseCsv(std::string_view text, std::vector<CsvRecord>* records, std::string* error) {
  records->clear();
  return CsvReader(text).Run(records, error);
}

std::string GuardedText(std::string text) {
  if (!text.empty() && std::string_view("=+-@\t\r'").find(text.front()) != std::string_view::npos) {
    text.insert(text.begin(), '\'');
  }
  return text;
}

std::string UnguardedText(std::string text) {
  if (!text.empty() && text.front() == '\'') text.erase(text.begin());
  return text;
}

}  // namespace sr::regdb
