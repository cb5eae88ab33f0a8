#ifndef SALARY_APP_TESTS_TAX_TEST_SUPPORT_H_
#define SALARY_APP_TESTS_TAX_TEST_SUPPORT_H_

// A program on the headless backend in a temporary program directory, with the tax rate table
// and register files that the tax tests need, built through the record database.

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/shell/main_window.h"
#include "platform/automation/recording_automation.h"
#include "platform/headless/headless_backend.h"
#include "platform/print/recording_print_seam.h"

namespace sr::app::test {

// Fields 1 to 5 of one record of the tax rate table.
using TaxRow = std::array<double, 5>;

// The table installed with the program (the data generator's): threshold 5000, seven brackets.
std::vector<TaxRow> InstalledTable();
// The table of the worked examples: threshold 3500, three brackets.
std::vector<TaxRow> ThreeBracketTable();

// The 22 titles of the installed relay file; items 9 to 12 carry the tax-exempt mark.
std::vector<Text> DefaultTitles();

class TaxProgram {
 public:
  // `files`: the program's file system (the real one when null); it must outlive the program.
  explicit TaxProgram(fs::FileSystem* files = nullptr);
  ~TaxProgram();

  const Text& directory() const { return directory_; }
  Text PathOf(const char* name) const { return directory_ + "/" + name; }
  // The path as the standard library's files name it (UTF-8).
  static std::filesystem::path Native(const Text& path);

  // Writes the tax rate table file into the program directory (closing the program's copy of it
  // first); `text_field`, when 1 to 5, makes
  // that field a text field holding `text` in every record.
  void WriteTaxTable(const std::vector<TaxRow>& rows, int text_field = 0,
                     const Text& text = Text());
  // Creates a register file (and the relay file) with these field names and no records.
  void WriteRegisterFile(const char* name, const std::vector<Text>& titles);
  // The fields 1 to 5 of every record of the tax table file, read with a table of its own.
  std::vector<TaxRow> ReadTaxTable();
  // Writes one field of the tax table file as another program sharing it would.
  void SetTaxField(int record, int field, int value);
  std::vector<Text> FieldNames(const Text& path);

  // Starts the program (the main window's created event runs).
  void Start();
  // Sets the register grid to `rows` people, the titles given.
  void LayOutRegister(int rows, const std::vector<Text>& titles);
  void SetRow(int row, const std::vector<std::pair<int, const char*>>& cells);

  // Runs `script` in the next modal window, given that window's model.
  template <typename Form>
  void InModal(std::function<void(Form&)> script) {
    backend_.QueueModalScript([this, script] {
      script(*static_cast<Form*>(framework_->active_window()));
    });
  }

  headless::HeadlessBackend& backend() { return backend_; }
  forms::Framework& framework() { return *framework_; }
  DatabaseTable& databases() { return *databases_; }
  ProgramState& state() { return state_; }
  MainWindow& window() { return *window_; }
  Grid& grid() { return window_->form().grid(); }
  SalaryRegister& salary_register() { return window_->salary_register(); }
  TaxCommands commands() { return TaxCommands(*context_); }
  AppContext& context() { return *context_; }

  // Message boxes shown so far (text, title), in order.
  std::vector<ui::MessageBoxSpec> Messages() const;

 private:
  Text directory_;
  std::string old_directory_;
  headless::HeadlessBackend backend_;
  print::RecordingPrintSeam printer_;
  automation::RecordingAutomation automation_;
  std::unique_ptr<Seams> seams_;
  std::unique_ptr<DatabaseTable> databases_;
  ProgramState state_;
  std::unique_ptr<forms::Framework> framework_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<AppContext> context_;
};

}  // namespace sr::app::test

#endif  // SALARY_APP_TESTS_TAX_TEST_SUPPORT_H_
