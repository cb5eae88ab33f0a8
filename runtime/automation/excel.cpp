#include "runtime/automation/excel.h"

#include <exception>
#include <utility>
#include <vector>

namespace sr {

namespace {

using automation::DispatchRef;
using automation::InvokeKind;
using automation::Variant;

// One guarded automation call: a reported error or an exception from the dispatch layer is
// swallowed (its message goes to `*error` when given). Returns the call's result; kEmpty when
// there is none or the call failed.
Variant Call(const DispatchRef& object, automation::DispId member, InvokeKind kind,
             std::vector<Variant> args = {}, Text* error = nullptr) {
  Variant result;
  if (!object) return result;
  try {
    const automation::Status status = object->Invoke(member, kind, args, &result);
    if (!status.ok()) {
      if (error != nullptr)
        *error = status.message.empty() ? Text("automation error") : status.message;
      return Variant();
    }
  } catch (const std::exception& e) {
    if (error != nullptr) *error = *e.what() ? Text(e.what()) : Text("automation error");
    return Variant();
  } catch (...) {
    if (error != nullptr) *error = "automation error";
    return Variant();
  }
  return result;
}

// Replaces `*target` with the object that a get returned; a failed get leaves it unchanged.
void GetInto(const DispatchRef& object, automation::DispId member, std::vector<Variant> args,
             DispatchRef* target) {
  Variant result = Call(object, member, InvokeKind::kPropertyGet, std::move(args));
  if (result.type == Variant::Type::kDispatch && result.object) *target = std::move(result.object);
}

}  // namespace

bool ExcelApp::Create(Text* error_text) {
  Release();
  automation::Status status;
  try {
    status = seam_->CreateObject("Excel.Application", &application_);
  } catch (const std::exception& e) {
    status = automation::Status::Error(automation::kUnexpected, e.what());
  }
  Text error;
  if (!status.ok()) {
    application_.Reset();
    error = status.message;
    if (status.code == automation::kInvalidClassString) {
      error += "(可能没有正确安装Office/Excel，无法创建对象\"Excel.Application\")";
    }
  }
  if (error_text) *error_text = error;
  return status.ok();
}

void ExcelApp::Release() { application_.Reset(); }

void ExcelApp::Quit() { Call(application_, excel_member::kQuit, InvokeKind::kMethod); }

bool ExcelApp::SetVisible(bool visible, Text* error) {
  Text message;
  Call(application_, excel_member::kVisible, InvokeKind::kPropertyPut, {Variant::Bool(visible)},
       &message);
  if (error != nullptr) *error = message;
  return message.empty();
}

bool ExcelWorkbooks::Attach(const ExcelApp& app) {
  Release();
  if (!app.application()) return false;
  GetInto(app.application(), excel_member::kWorkbooks, {}, &workbooks_);
  Call(workbooks_, excel_member::kAdd, InvokeKind::kMethod, {Variant::Missing()});
  GetInto(workbooks_, excel_member::kApplication, {}, &application_);
  GetInto(application_, excel_member::kSheets, {}, &sheets_);
  GetInto(sheets_, excel_member::kItem, {Variant::I4(1)}, &worksheet_);
  return true;
}

void ExcelWorkbooks::Release() {
  range_.Reset();
  worksheet_.Reset();
  sheets_.Reset();
  application_.Reset();
  workbooks_.Reset();
  first_cell_.clear();
  second_cell_.clear();
}

void ExcelWorkbooks::Activate() {
  Call(application_, excel_member::kActivate, InvokeKind::kMethod);
}

void ExcelWorkbooks::Close() { Call(workbooks_, excel_member::kClose, InvokeKind::kMethod); }

void ExcelWorkbooks::SetSheetNumber(int n) {
  GetInto(sheets_, excel_member::kItem, {Variant::I4(n)}, &worksheet_);
}

void ExcelWorkbooks::SetSecondCell(const Text& cell) {
  second_cell_ = cell;
  GetInto(worksheet_, excel_member::kRange,
          {Variant::Bstr(first_cell_), Variant::Bstr(second_cell_)}, &range_);
}

void ExcelWorkbooks::SetValue(const Text& text) {
  Call(range_, excel_member::kValue, InvokeKind::kPropertyPut, {Variant::Bstr(text)});
}

void ExcelWorkbooks::SetNumberFormat(const Text& format) {
  Call(range_, excel_member::kNumberFormat, InvokeKind::kPropertyPut, {Variant::Bstr(format)});
}

void ExcelWorkbooks::SetBold(bool bold) {
  DispatchRef font;
  GetInto(range_, excel_member::kFont, {}, &font);
  Call(font, excel_member::kBold, InvokeKind::kPropertyPut, {Variant::Bool(bold)});
}

void ExcelWorkbooks::AutoFitColumns() {
  DispatchRef columns;
  GetInto(range_, excel_member::kEntireColumn, {}, &columns);
  Call(columns, excel_member::kAutoFit, InvokeKind::kMethod);
}

void ExcelWorkbooks::FreezeRows(int rows) {
  DispatchRef window;
  GetInto(application_, excel_member::kActiveWindow, {}, &window);
  // Excel freezes the panes at the window's split.
  Call(window, excel_member::kSplitColumn, InvokeKind::kPropertyPut, {Variant::I4(0)});
  Call(window, excel_member::kSplitRow, InvokeKind::kPropertyPut, {Variant::I4(rows)});
  Call(window, excel_member::kFreezePanes, InvokeKind::kPropertyPut, {Variant::Bool(true)});
}

}  // namespace sr
