#ifndef SALARY_FORMS_FILE_DIALOG_H_
#define SALARY_FORMS_FILE_DIALOG_H_

#include "base/value.h"
#include "platform/ui/backend.h"

namespace sr::forms {

class Framework;
class Window;

// A common file dialog of a form (open or save): not visible itself; run modally on demand.
class FileDialog {
 public:
  FileDialog(Text name, ui::FileDialogKind kind, Text filter);

  const Text& name() const { return name_; }
  ui::FileDialogKind kind() const { return kind_; }
  const Text& filter() const { return filter_; }
  const Text& initial_directory() const { return initial_directory_; }
  void SetInitialDirectory(const Text& directory) { initial_directory_ = directory; }
  // The path chosen in the last confirmed run.
  const Text& path() const { return path_; }

  // Runs the dialog over `owner`; true when the user confirmed a path.
  bool Run(Framework& framework, Window* owner);

 private:
  Text name_;
  ui::FileDialogKind kind_;
  Text filter_;
  Text initial_directory_;
  Text path_;
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_FILE_DIALOG_H_
