#include "platform/win32/automation/com_automation.h"

#include <windows.h>
#include <objbase.h>

#include "platform/win32/automation/com_variant.h"
#include "platform/win32/text/wide_text.h"

namespace sr::win32 {

using automation::Status;

ComAutomation::ComAutomation() {
  // S_FALSE: already initialised on this thread, which still wants its matching uninitialise.
  initialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

ComAutomation::~ComAutomation() {
  if (initialised_) CoUninitialize();
}

Status ComAutomation::CreateObject(const Text& prog_id, automation::DispatchRef* object) {
  object->Reset();
  std::optional<std::wstring> wide = GbkToWide(prog_id);
  if (!wide) return Status::Error(CO_E_CLASSSTRING, ComErrorMessage(CO_E_CLASSSTRING));
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(wide->c_str(), &clsid);
  if (FAILED(hr)) return Status::Error(hr, ComErrorMessage(hr));
  IDispatch* made = nullptr;
  // A spreadsheet application is a server process of its own; a small object may be a DLL.
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                        reinterpret_cast<void**>(&made));
  if (FAILED(hr)) return Status::Error(hr, ComErrorMessage(hr));
  *object = WrapDispatch(made);
  return Status::Ok();
}

}  // namespace sr::win32
