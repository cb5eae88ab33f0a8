// install-test-printer.exe: installs the tests' PostScript printer into the current Wine prefix
// and makes it the default, for the test that prints from the running program.
#include "platform/win32/print/tests/test_printer.h"

int main() { return sr::win32::InstallTestPrinter() ? 0 : 1; }
