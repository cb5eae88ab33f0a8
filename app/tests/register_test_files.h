#ifndef SALARY_APP_TESTS_REGISTER_TEST_FILES_H_
#define SALARY_APP_TESTS_REGISTER_TEST_FILES_H_

#include <string>
#include <vector>

#include "app/register/register_grid_binding.h"
#include "app/register/salary_register.h"
#include "forms/grid/grid.h"
#include "runtime/recdb/format.h"

namespace sr::app::testing {

// A fresh folder under the test's temporary directory, in GBK, without a trailing separator.
std::string MakeTempFolder(const std::string& name);

// The 22 fields of the installed relay file: text 1, 2 and 22, doubles 3 to 21.
std::vector<recdb::FieldDescriptor> RelayFields();
// Writes an empty database with these fields; fails the test when that does not work.
void MakeDatabase(const std::string& path, const std::vector<recdb::FieldDescriptor>& fields);

// A register of `people` rows below the titles: row r holds the number r, the name `prefix` + r
// and the amount r * 10 + `base` in column 2.
void FillRegister(SalaryRegister& salary_register, int people, const Text& prefix, double base);

// A salary register shown in a register grid, kept in step as the main window keeps them.
struct ShownRegister {
  ShownRegister() : grid(RegisterGridConfig()), binding(model, grid) {}

  SalaryRegister model;
  Grid grid;
  RegisterGridBinding binding;
};

}  // namespace sr::app::testing

#endif  // SALARY_APP_TESTS_REGISTER_TEST_FILES_H_
