#include "forms/file_dialog.h"

#include <utility>

#include "forms/framework.h"
#include "forms/window.h"

namespace sr::forms {

FileDialog::FileDialog(Text name, ui::FileDialogKind kind, Text filter)
    : name_(std::move(name)), kind_(kind), filter_(std::move(filter)) {}

bool FileDialog::Run(Framework& framework, Window* owner) {
  ui::FileDialogSpec description{kind_, filter_, initial_directory_};
  ui::FileDialogResult result =
      framework.backend().RunFileDialog(description, owner != nullptr ? owner->peer() : nullptr);
  if (!result.confirmed) return false;
  path_ = result.path;
  return true;
}

}  // namespace sr::forms
