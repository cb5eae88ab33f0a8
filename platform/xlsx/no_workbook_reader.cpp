// The Windows build's workbook reader: liborcus is not built for Windows, so this build reads no
// workbook. The import tells the user so and offers CSV instead (app/import).
#include "platform/xlsx/workbook_reader.h"

namespace sr::xlsx {

namespace {

class NoWorkbookReader : public WorkbookReader {
 public:
  bool ReadFirstSheet(std::string_view, SheetRows* rows, ReadFailure* failure) override {
    rows->clear();
    *failure = {};
    failure->detail = "this build reads no workbooks";
    return false;
  }
  bool CanRead() const override { return false; }
};

}  // namespace

WorkbookReader& RealWorkbookReader() {
  static NoWorkbookReader reader;
  return reader;
}

}  // namespace sr::xlsx
