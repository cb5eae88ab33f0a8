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
  bool known = strcasecmp(prog_id.c_str(), "Excel.Application") == 0;
  if (known && !viewer_) program = SpreadsheetProgram::Find();
  if (!known || (!viewer_ && !program)) {
    return automation::Status::Error(automation::kInvalidClassString, "无效的类字符串");
  }
  *object = NewApplicationObject(std::make_shared<Instance>(std::move(program), viewer_));
  return automation::Status::Ok();
}

}  // namespace sr::sheet
