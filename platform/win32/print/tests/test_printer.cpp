#include "platform/win32/print/tests/test_printer.h"

#include <windows.h>
#include <winspool.h>

#include <string>

namespace sr::win32 {

namespace {

const wchar_t kDriver[] = L"Wine PostScript Driver";
const wchar_t kEnvironment[] = L"Windows x64";

std::wstring BesideThisProgram(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

}  // namespace

bool InstallTestPrinter() {
  wchar_t folder[MAX_PATH];
  DWORD needed = 0;
  GetPrinterDriverDirectoryW(nullptr, const_cast<wchar_t*>(kEnvironment), 1,
                             reinterpret_cast<BYTE*>(folder), sizeof folder, &needed);
  const std::wstring ppd = std::wstring(folder) + L"\\srtest.ppd";
  CopyFileW(BesideThisProgram(L"test_printer.ppd").c_str(), ppd.c_str(), FALSE);
  DRIVER_INFO_3W driver{};
  driver.cVersion = 3;
  driver.pName = const_cast<wchar_t*>(kDriver);
  driver.pEnvironment = const_cast<wchar_t*>(kEnvironment);
  driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
  driver.pDataFile = const_cast<wchar_t*>(ppd.c_str());
  driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
  AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver));
  PRINTER_INFO_2W printer{};
  printer.pPrinterName = const_cast<wchar_t*>(kTestPrinter);
  printer.pPortName = const_cast<wchar_t*>(L"FILE:");
  printer.pDriverName = const_cast<wchar_t*>(kDriver);
  printer.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
  printer.pDatatype = const_cast<wchar_t*>(L"RAW");
  if (HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer))) {
    ClosePrinter(added);
  } else if (GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) {
    return false;
  }
  return SetDefaultPrinterW(kTestPrinter);
}

}  // namespace sr::win32
