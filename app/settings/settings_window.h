#ifndef SALARY_APP_SETTINGS_SETTINGS_WINDOW_H_
#define SALARY_APP_SETTINGS_SETTINGS_WINDOW_H_

#include <vector>

#include "app/app_context.h"
#include "app/register/register_layout.h"
#include "forms/secondary_forms.h"

namespace sr::app {

// Register field (1-based) of salary item k (1 to kSalaryItems): its column plus one.
constexpr int ItemField(int item) { return ItemColumn(item) + 1; }

// The settings window: renames the salary items of the register file (the relay file while the
// register is untitled) and switches their tax-exempt mark. The file is held exclusively while
// the window is open and reopened in the default share mode however the window closes.
class SettingsWindow : public forms::SettingsWindowHandlers {
 public:
  explicit SettingsWindow(AppContext& app) : app_(app) {}

  // Opens the register file exclusively and shows the window modally; tells the user and shows
  // nothing when the file cannot be held exclusively.
  void Show();

  void OnCreated(forms::SettingsForm& form) override;
  void OnEditBoxChanged(forms::SettingsForm& form) override;
  void OnGridClicked(forms::SettingsForm& form, int x, int y) override;
  void OnGridDoubleClick(forms::SettingsForm& form) override;
  void OnConfirmClicked(forms::SettingsForm& form) override;
  void OnCancelClicked(forms::SettingsForm& form) override;

 private:
  Text RegisterFile() const;
  void ReopenShared();
  // Renames the changed items; returns a line per rename that the file refused.
  std::vector<Text> Rename(const std::vector<Text>& names);
  bool RenameItem(int item, const Text& name, std::vector<Text>* failures);

  AppContext& app_;
  Text file_;
};

// The item's name with the tax-exempt mark added, or with every occurrence of it removed.
Text ToggleTaxExempt(const Text& name);

// Checks the names the item grid would give (`names[k - 1]` for item k; empty keeps the current
// name) against `fields`, the file's current field names: a line per item whose name is too long
// for a field name or equal to another field's name without regard to letter case.
std::vector<Text> CheckItemNames(const std::vector<Text>& names, const std::vector<Text>& fields);

}  // namespace sr::app

#endif  // SALARY_APP_SETTINGS_SETTINGS_WINDOW_H_
