#ifndef SALARY_PLATFORM_WIN32_PRINT_TESTS_TEST_PRINTER_H_
#define SALARY_PLATFORM_WIN32_PRINT_TESTS_TEST_PRINTER_H_

// A PostScript printer for tests: Wine's own PostScript driver with test_printer.ppd (A4 and
// Letter at 600 dpi) on the port FILE:. Wine has no PDF or XPS printer of its own.
namespace sr::win32 {

inline constexpr wchar_t kTestPrinter[] = L"SalaryRegister Test PostScript";

// Adds the driver with the PPD found beside the running program, and the printer (both are kept
// in the prefix; adding them again changes nothing), and makes the printer the default. Returns
// false when the printer could not be added or made the default.
bool InstallTestPrinter();

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_PRINT_TESTS_TEST_PRINTER_H_
