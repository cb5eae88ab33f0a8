#include "platform/win32/automation/tests/test_class.h"

#include <windows.h>
#include <objbase.h>

namespace sr::win32::test {
namespace {

// The DLL is built beside the test program.
std::wstring DllPath() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"sr_test_dispatch.dll";
}

bool SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
         ERROR_SUCCESS;
}

}  // namespace

TestClass::TestClass(const std::wstring& prog_id) : prog_id_(prog_id) {
  GUID guid{};
  wchar_t text[64];
  if (FAILED(CoCreateGuid(&guid)) || StringFromGUID2(guid, text, 64) == 0) return;
  clsid_ = text;
  const std::wstring server = L"CLSID\\" + clsid_ + L"\\InprocServer32";
  registered_ = SetValue(prog_id_ + L"\\CLSID", nullptr, clsid_) &&
                SetValue(server, nullptr, DllPath()) &&
                SetValue(server, L"ThreadingModel", L"Apartment");
}

TestClass::~TestClass() {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, prog_id_.c_str());
  if (!clsid_.empty()) RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsid_).c_str());
}

std::wstring UniqueProgId() {
  return L"SalaryRegister.TestObject." + std::to_wstring(GetCurrentProcessId());
}

}  // namespace sr::win32::test
