#include "platform/sheet/sheet_automation.h"

#include <strings.h>

#include <memory>

#include "platform/sheet/sheet_objects.h"

namespace sr::sheet {

automation::Status SheetAutomation::CreateObject(const Text& prog_id,
                                                 automation::DispatchRef* object) {
  // ProgIDs are not case sensitive. Without a spreadsheet program the class is as unknown as
  // Excel's is on a Windows machine without Excel.
  std::optional<SpreadsheetProgram> program;
  if (strcasecmp(prog_id.c_str(), "Excel.Application") == 0) program = SpreadsheetProgram::Find();
  if (!program) {
    return automation::Status::Error(automation::kInvalidClassString, "无效的类字符串");
  }
  *object = NewApplicationObject(std::make_shared<Instance>(std::move(*program)));
  return automation::Status::Ok();
}

}  // namespace sr::sheet
