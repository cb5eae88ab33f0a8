#include "platform/sheet/sheet_objects.h"

#include <unistd.h>

#include <algorithm>
#include <type_traits>

#include "base/gbk.h"
#include "base/text.h"
#include "platform/automation/excel_dispids.h"
#include "platform/sheet/sheet_format.h"
#include "platform/sheet/xlsx_file.h"

namespace sr::sheet {

namespace {

using automation::DispatchRef;
using automation::DispId;
using automation::InvokeKind;
using automation::Status;
using automation::Variant;
using Args = std::vector<Variant>;

constexpr automation::HResult kDisconnected = static_cast<automation::HResult>(0x80010108);
// A Value put on more cells than this is refused rather than filling memory.
constexpr int64_t kMaxCellsPerPut = 1000000;

Status NotFound() { return Status::Error(automation::kMemberNotFound, "unknown member"); }
Status BadCount() { return Status::Error(automation::kBadParamCount, "wrong argument count"); }
Status BadType() { return Status::Error(automation::kTypeMismatch, "wrong argument type"); }
Status Failed(const char* why) { return Status::Error(automation::kException, why); }

// The arguments without the trailing missing ones, which COM callers use for "left out".
Args Present(const Args& args) {
  Args present = args;
  while (!present.empty() && present.back().type == Variant::Type::kError) present.pop_back();
  return present;
}

// The one 1-based index argument of an Item member, checked against `count` items.
Status ReadIndex(const Args& args, size_t count, int* n) {
  if (args.size() != 1) return BadCount();
  if (args[0].type != Variant::Type::kI4) return BadType();
  *n = args[0].i4;
  if (*n < 1 || static_cast<size_t>(*n) > count) {
    return Status::Error(automation::kBadIndex, "no such item");
  }
  return Status::Ok();
}

size_t CharCount(const Text& text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++count) {
    i += (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size()) ? 2 : 1;
  }
  return count;
}

// What every object of an instance shares: the instance, the Application member, and the
// refusal of every call after Quit.
class SheetObject : public automation::CountedDispatch {
 public:
  explicit SheetObject(std::shared_ptr<Instance> instance) : instance_(std::move(instance)) {}

  Status Invoke(DispId member, InvokeKind kind, const Args& args, Variant* result) final {
    *result = Variant();
    if (instance_->quit) return Status::Error(kDisconnected, "the application has quit");
    if (member == excel_member::kApplication && kind == InvokeKind::kPropertyGet) {
      *result = Variant::Object(NewApplicationObject(instance_));
      return Status::Ok();
    }
    return Member(member, kind, Present(args), result);
  }

 protected:
  virtual Status Member(DispId member, InvokeKind kind, const Args& args, Variant* result) = 0;

  template <class T, class... A>
  Status Return(Variant* result, A&&... a) {
    *result = Variant::Object(DispatchRef::Adopt(new T(instance_, std::forward<A>(a)...)));
    return Status::Ok();
  }

  std::shared_ptr<Instance> instance_;
};

// A property of a workbook's sheet: refused once the workbook is closed.
class SheetPartObject : public SheetObject {
 public:
  // `range` is the part's cells, when it has any.
  SheetPartObject(std::shared_ptr<Instance> instance, std::shared_ptr<Workbook> book, int sheet,
                  CellRange range = {})
      : SheetObject(std::move(instance)), book_(std::move(book)), sheet_(sheet), range_(range) {}

 protected:
  Status Member(DispId member, InvokeKind kind, const Args& args, Variant* result) final {
    if (!instance_->IsOpen(book_)) return Failed("the workbook is closed");
    return PartMember(member, kind, args, result);
  }
  virtual Status PartMember(DispId member, InvokeKind kind, const Args& args, Variant* result) = 0;

  Worksheet& sheet() { return book_->sheets[sheet_]; }

  std::shared_ptr<Workbook> book_;
  int sheet_;
  CellRange range_;
};

// Reads or writes one property of type `type` (kBool, kI4 or kBstr) held in `*value`.
template <class T>
Status Property(InvokeKind kind, const Args& args, Variant::Type type, T* value, Variant* result) {
  if (kind == InvokeKind::kPropertyGet) {
    if (!args.empty()) return BadCount();
    if constexpr (std::is_same_v<T, bool>) *result = Variant::Bool(*value);
    if constexpr (std::is_same_v<T, int>) *result = Variant::I4(*value);
    if constexpr (std::is_same_v<T, Text>) *result = Variant::Bstr(*value);
    return Status::Ok();
  }
  if (kind != InvokeKind::kPropertyPut) return NotFound();
  if (args.size() != 1) return BadCount();
  if (args[0].type != type) return BadType();
  if constexpr (std::is_same_v<T, bool>) *value = args[0].boolean;
  if constexpr (std::is_same_v<T, int>) *value = args[0].i4;
  if constexpr (std::is_same_v<T, Text>) *value = args[0].bstr;
  return Status::Ok();
}

class FontObject : public SheetPartObject {
 public:
  using SheetPartObject::SheetPartObject;

 protected:
  Status PartMember(DispId member, InvokeKind kind, const Args& args, Variant* result) override {
    if (member != excel_member::kBold) return NotFound();
    bool bold = BoldAt(sheet(), range_.first_row, range_.first_column);
    Status status = Property(kind, args, Variant::Type::kBool, &bold, result);
    if (status.ok() && kind == InvokeKind::kPropertyPut) sheet().bold.emplace_back(range_, bold);
    return status;
  }
};

class RangeObject : public SheetPartObject {
 public:
  using SheetPartObject::SheetPartObject;

 protected:
  Status PartMember(DispId member, InvokeKind kind, const Args& args, Variant* result) override {
    switch (member) {
      case excel_member::kValue:
        if (kind != InvokeKind::kPropertyPut) break;
        return PutValue(args);
      case excel_member::kNumberFormat:
        return NumberFormat(kind, args, result);
      case excel_member::kFont:
        if (kind != InvokeKind::kPropertyGet) break;
        return Return<FontObject>(result, book_, sheet_, range_);
      case excel_member::kEntireColumn:
        if (kind != InvokeKind::kPropertyGet) break;
        return Return<RangeObject>(
            result, book_, sheet_,
            CellRange{0, range_.first_column, kMaxRows - 1, range_.last_column});
      case excel_member::kAutoFit:
        if (kind != InvokeKind::kMethod) break;
        return AutoFit();
    }
    return NotFound();
  }

 private:
  Status PutValue(const Args& args) {
    if (args.size() != 1) return BadCount();
    int64_t cells = int64_t{range_.last_row - range_.first_row + 1} *
                    (range_.last_column - range_.first_column + 1);
    if (cells > kMaxCellsPerPut) return Failed("range too large");
    std::optional<Cell> cell;
    switch (args[0].type) {
      case Variant::Type::kEmpty:
        break;
      case Variant::Type::kI4:
        cell = static_cast<double>(args[0].i4);
        break;
      case Variant::Type::kBstr:
        if (CharCount(args[0].bstr) > kMaxCellChars) return Failed("text too long for a cell");
        cell = CellFromTypedText(args[0].bstr);
        break;
      default:
        return BadType();
    }
    WriteRange(&sheet(), range_, cell);
    return Status::Ok();
  }

  Status NumberFormat(InvokeKind kind, const Args& args, Variant* result) {
    Text format = NumberFormatAt(sheet(), range_.first_row, range_.first_column);
    Status status = Property(kind, args, Variant::Type::kBstr, &format, result);
    if (!status.ok() || kind != InvokeKind::kPropertyPut) return status;
    if (format.empty() || CharCount(format) > 255) return Failed("not a number format");
    sheet().number_formats.emplace_back(range_, format);
    return status;
  }

  // As in Excel, only whole columns are fitted; an empty column keeps its width.
  Status AutoFit() {
    if (range_.first_row != 0 || range_.last_row != kMaxRows - 1) {
      return Failed("AutoFit needs whole columns");
    }
    for (const auto& [column, width] :
         FittedWidths(sheet(), range_.first_column, range_.last_column)) {
      sheet().column_widths[column] = width;
    }
    return Status::Ok();
  }
};

// The window of a workbook: where its sheet is split and whether the panes are frozen there.
class WindowObject : public SheetPartObject {
 public:
  using SheetPartObject::SheetPartObject;

 protected:
  Status PartMember(DispId member, InvokeKind kind, const Args& args, Variant* result) override {
    Worksheet& shown = book_->sheets[book_->active_sheet];
    switch (member) {
      case excel_member::kSplitRow:
        return Split(kind, args, result, kMaxRows, &shown.split_row);
      case excel_member::kSplitColumn:
        return Split(kind, args, result, kMaxColumns, &shown.split_column);
      case excel_member::kFreezePanes:
        return Property(kind, args, Variant::Type::kBool, &shown.frozen, result);
    }
    return NotFound();
  }

 private:
  static Status Split(InvokeKind kind, const Args& args, Variant* result, int limit, int* value) {
    int split = *value;
    Status status = Property(kind, args, Variant::Type::kI4, &split, result);
    if (!status.ok()) return status;
    if (split < 0 || split >= limit) return Failed("split outside the sheet");
    *value = split;
    return status;
  }
};

class WorksheetObject : public SheetObject {
 public:
  WorksheetObject(std::shared_ptr<Instance> instance, std::shared_ptr<Workbook> book, int sheet)
      : SheetObject(std::move(instance)), book_(std::move(book)), sheet_(sheet) {}

 protected:
  Status Member(DispId member, InvokeKind kind, const Args& args, Variant* result) override {
    if (member == excel_member::kActivate && kind == InvokeKind::kMethod) {
      book_->active_sheet = sheet_;
      return Status::Ok();
    }
    if (member != excel_member::kRange || kind != InvokeKind::kPropertyGet) return NotFound();
    if (args.empty() || args.size() > 2) return BadCount();
    for (const Variant& a : args) {
      if (a.type != Variant::Type::kBstr) return BadType();
    }
    std::optional<CellRange> range =
        args.size() == 1 ? ParseRange(args[0].bstr) : SpanRanges(args[0].bstr, args[1].bstr);
    if (!range) return Failed("not a cell reference");
    return Return<RangeObject>(result, book_, sheet_, *range);
  }

 private:
  std::shared_ptr<Workbook> book_;
  int sheet_;
};

class SheetsObject : public SheetObject {
 public:
  SheetsObject(std::shared_ptr<Instance> instance, std::shared_ptr<Workbook> book)
      : SheetObject(std::move(instance)), book_(std::move(book)) {}

 protected:
  Status Member(DispId member, InvokeKind kind, const Args& args, Variant* result) override {
    if (member != excel_member::kItem || kind != InvokeKind::kPropertyGet) return NotFound();
    int n = 0;
    Status index = ReadIndex(args, book_->sheets.size(), &n);
    if (!index.ok()) return index;
    return Return<WorksheetObject>(result, book_, n - 1);
  }

 private:
  std::shared_ptr<Workbook> book_;
};

class WorkbookObject : public SheetObject {
 public:
  WorkbookObject(std::shared_ptr<Instance> instance, std::shared_ptr<Workbook> book)
      : SheetObject(std::move(instance)), book_(std::move(book)) {}

 protected:
  Status Member(DispId member, InvokeKind kind, const Args& args, Variant* result) override {
    if (!instance_->IsOpen(book_)) return Failed("the workbook is closed");
    if (member == excel_member::kSheets && kind == InvokeKind::kPropertyGet) {
      return Return<SheetsObject>(result, book_);
    }
    if (member == excel_member::kActivate && kind == InvokeKind::kMethod) {
      instance_->active = book_;
      return Status::Ok();
    }
    if (member == excel_member::kClose && kind == InvokeKind::kMethod) {
      instance_->Close(book_);
      return Status::Ok();
    }
    return NotFound();
  }

 private:
  std::shared_ptr<Workbook> book_;
};

class WorkbooksObject : public SheetObject {
 public:
  using SheetObject::SheetObject;

 protected:
  Status Member(DispId member, InvokeKind kind, const Args& args, Variant* result) override {
    if (member == excel_member::kAdd && kind == InvokeKind::kMethod) {
      if (!args.empty()) return Failed("templates are not supported");
      auto book = std::make_shared<Workbook>();
      book->number = instance_->next_book++;
      book->sheets.emplace_back();
      book->sheets.back().name = "Sheet1";
      instance_->workbooks.push_back(book);
      instance_->active = book;
      return Return<WorkbookObject>(result, book);
    }
    if (member == excel_member::kItem && kind == InvokeKind::kPropertyGet) {
      int n = 0;
      Status index = ReadIndex(args, instance_->workbooks.size(), &n);
      if (!index.ok()) return index;
      return Return<WorkbookObject>(result, instance_->workbooks[n - 1]);
    }
    if (member == excel_member::kClose && kind == InvokeKind::kMethod) {
      while (!instance_->workbooks.empty()) instance_->Close(instance_->workbooks.back());
      return Status::Ok();
    }
    return NotFound();
  }
};

class ApplicationObject : public SheetObject {
 public:
  using SheetObject::SheetObject;

 protected:
  Status Member(DispId member, InvokeKind kind, const Args& args, Variant* result) override {
    switch (member) {
      case excel_member::kWorkbooks:
        if (kind != InvokeKind::kPropertyGet) break;
        return Return<WorkbooksObject>(result);
      case excel_member::kSheets:
        if (kind != InvokeKind::kPropertyGet) break;
        if (!instance_->active) return Failed("no active workbook");
        return Return<SheetsObject>(result, instance_->active);
      case excel_member::kVisible:
        return Visible(kind, args, result);
      case excel_member::kActiveWindow:
        if (kind != InvokeKind::kPropertyGet) break;
        if (!instance_->active) return Failed("no active workbook");
        return Return<WindowObject>(result, instance_->active, instance_->active->active_sheet);
      case excel_member::kActivate:
        if (kind != InvokeKind::kMethod) break;
        return Status::Ok();
      case excel_member::kQuit:
        if (kind != InvokeKind::kMethod) break;
        instance_->workbooks.clear();
        instance_->active.reset();
        instance_->quit = true;
        return Status::Ok();
    }
    return NotFound();
  }

 private:
  Status Visible(InvokeKind kind, const Args& args, Variant* result) {
    if (kind == InvokeKind::kPropertyGet) {
      *result = Variant::Bool(instance_->visible);
      return Status::Ok();
    }
    if (kind != InvokeKind::kPropertyPut) return NotFound();
    if (args.size() != 1) return BadCount();
    if (args[0].type != Variant::Type::kBool && args[0].type != Variant::Type::kI4) {
      return BadType();
    }
    instance_->visible = args[0].type == Variant::Type::kBool ? args[0].boolean : args[0].i4 != 0;
    return instance_->visible ? instance_->Show() : Status::Ok();
  }
};

// Saves a workbook that no program showed into the user's own folder; what to tell the user.
Text KeepInUserFolder(const Workbook& book, const Text& not_shown) {
  const std::string folder = UserWorkbookFolder();
  std::string error;
  const std::string path = SaveWorkbookInto(book, folder, &error);
  if (path.empty()) {
    return Concat(
        {not_shown, "。\r\n工作簿也无法保存到 ", FromUtf8(folder), "：", FromUtf8(error)});
  }
  return Concat(
      {not_shown, "。\r\n工作簿已保存为 ", FromUtf8(path), "，可以用电子表格程序打开它。"});
}

}  // namespace

bool Instance::IsOpen(const std::shared_ptr<Workbook>& book) const {
  return std::find(workbooks.begin(), workbooks.end(), book) != workbooks.end();
}

void Instance::Close(const std::shared_ptr<Workbook>& book) {
  workbooks.erase(std::remove(workbooks.begin(), workbooks.end(), book), workbooks.end());
  if (active == book) active = workbooks.empty() ? nullptr : workbooks.back();
}

Status Instance::Show() {
  std::string error;
  for (const std::shared_ptr<Workbook>& book : workbooks) {
    if (shown.count(book->number)) continue;
    if (viewer) {
      viewer(*book);
      shown.insert(book->number);
      continue;
    }
    if (folder.empty()) folder = MakePrivateFolder(&error);
    if (folder.empty()) break;
    std::string path = folder + "/Book" + std::to_string(book->number) + ".xlsx";
    if (!WriteXlsx(*book, path, &error)) break;
    Text not_shown;
    if (!program->Open(path, &not_shown)) {
      // Nobody shows the workbook, and a temporary folder is no place to leave it.
      unlink(path.c_str());
      return Status::Error(automation::kException, KeepInUserFolder(*book, not_shown));
    }
    shown.insert(book->number);
  }
  if (!error.empty()) return Status::Error(automation::kException, FromUtf8(error));
  return Status::Ok();
}

DispatchRef NewApplicationObject(std::shared_ptr<Instance> instance) {
  return DispatchRef::Adopt(new ApplicationObject(std::move(instance)));
}

}  // namespace sr::sheet
