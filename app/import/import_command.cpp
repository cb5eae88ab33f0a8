#include "app/import/import_command.h"

#include <memory>
#include <new>

#include "app/import/csv_table.h"
#include "app/import/import_limits.h"
#include "app/import/import_plan.h"
#include "app/import/import_window.h"
#include "base/text.h"
#include "forms/grid/grid.h"
#include "runtime/recdb/errors.h"

namespace sr::app {

namespace {
const char kImportTitle[] = "导入";
const char kNoMemory[] = "内存不足，无法导入这个文件。请关闭其他程序后再试。";
// A workbook is a zip package; anything else is read as CSV text.
constexpr std::string_view kZipSignature("PK\x03\x04", 4);
}  // namespace

ImportCommand::ImportCommand(AppContext& app, RegisterCommands& register_commands)
    : app_(app),
      register_(register_commands),
      dialog_("通用对话框导入", ui::FileDialogKind::kOpen, "*.xlsx;*.csv|*.xlsx;*.csv") {}

void ImportCommand::Refuse(const Text& path, const Text& problem) {
  app_.framework.ShowMessage(Concat({"无法导入 ", path, "：", problem}), kImportTitle,
                             ui::MessageButtons::kOk, ui::MessageIcon::kWarning);
}

bool ImportCommand::ReadTable(const Text& path, xlsx::SheetRows* rows, Text* problem) {
  std::unique_ptr<fs::File> file;
  int64_t length = 0;
  int code = app_.seams.files.Open(path, fs::Access::kRead, fs::Share::kDenyWrite,
                                   fs::Disposition::kOpenExisting, &file);
  if (code == fs::kOk) code = file->Length(&length);
  if (code == fs::kOk && length > xlsx::kMostFileBytes) {
    *problem = FileTooLargeProblem();
    return false;
  }
  std::string bytes(static_cast<size_t>(code == fs::kOk ? length : 0), '\0');
  size_t got = 0;
  if (code == fs::kOk && length > 0) code = file->ReadAt(0, bytes.data(), bytes.size(), &got);
  if (code != fs::kOk) {
    *problem = DatabaseErrorMessage(code);
    return false;
  }
  bytes.resize(got);
  if (!bytes.starts_with(kZipSignature)) return ReadCsv(bytes, rows, problem);
  if (!app_.seams.workbooks.CanRead()) {
    *problem =
        "此版本的程序不能导入 Excel 工作簿（.xlsx）。请在 Excel 中把工作簿另存为 CSV 文件再导入。";
    return false;
  }
  xlsx::ReadFailure failure;  // the library's own words are not the user's: not shown
  if (app_.seams.workbooks.ReadFirstSheet(bytes, rows, &failure)) return true;
  *problem = LimitProblem(failure);
  if (problem->empty()) {
    *problem = "这不是能读取的 Excel 工作簿（.xlsx），或文件已损坏。";
  }
  return false;
}

bool ImportCommand::Plan(const Text& path, ImportPlan* plan, Text* problem) {
  // Every table is bounded, but memory may still run short: that is a message, not the end.
  try {
    xlsx::SheetRows sheet;
    if (!ReadTable(path, &sheet, problem)) return false;
    *plan = PlanImport(sheet, app_.salary_register, register_.TextFieldWidths());
    return true;
  } catch (const std::bad_alloc&) {
    *problem = kNoMemory;
    return false;
  }
}

void ImportCommand::Run() {
  if (dialog_.initial_directory().empty()) {
    dialog_.SetInitialDirectory(app_.state.program_directory);
  }
  if (!dialog_.Run(app_.framework, &app_.form)) return;
  const Text path = dialog_.path();
  ImportPlan plan;
  Text problem;
  if (!Plan(path, &plan, &problem)) {
    Refuse(path, problem);
    return;
  }
  // A refused file is shown too, so the user sees which column or row to mend.
  if (!plan.ok()) Refuse(path, plan.problem);
  ImportWindow handlers(app_.framework, plan, path, app_.salary_register);
  forms::ImportForm form(handlers);
  app_.framework.ShowModal(form);
  if (!handlers.choice()) return;
  std::vector<RowTexts> rows;
  bool built = false;
  try {
    built = ImportedRows(plan, *handlers.choice(), app_.salary_register, &rows, &problem);
  } catch (const std::bad_alloc&) {
    problem = kNoMemory;
  }
  if (!built) {
    Refuse(path, problem);
    return;
  }
  app_.salary_register.ReplaceRows(std::move(rows));
  app_.state.modified = 1;
  app_.form.menu().SetDisabled(forms::kMenuSave, false);
  register_.UpdateHeadCount();
  app_.grid().SetCursor(1, 0);
}

}  // namespace sr::app
