// The program's Dispatch over a COM IDispatch.
#include <windows.h>
// oleauto.h needs windows.h before it.
#include <oleauto.h>

#include <vector>

#include "platform/win32/automation/com_variant.h"
#include "platform/win32/text/wide_text.h"

namespace sr::win32 {
namespace {

using automation::InvokeKind;
using automation::Status;
using automation::Variant;

WORD FlagsOf(InvokeKind kind) {
  switch (kind) {
    case InvokeKind::kMethod:
      return DISPATCH_METHOD;
    case InvokeKind::kPropertyGet:
      return DISPATCH_PROPERTYGET;
    case InvokeKind::kPropertyPut:
      return DISPATCH_PROPERTYPUT;
  }
  return DISPATCH_METHOD;
}

// The object's own description of an exception it raised, else the system's text for the code.
Status ErrorOf(HRESULT hr, EXCEPINFO& exception) {
  if (exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
  Text message;
  if (hr == DISP_E_EXCEPTION && exception.bstrDescription != nullptr) {
    message = WideToGbk(std::wstring_view(exception.bstrDescription,
                                          SysStringLen(exception.bstrDescription)))
                  .value_or("");
  }
  if (hr == DISP_E_EXCEPTION && exception.scode != 0) hr = exception.scode;
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return Status::Error(hr, message.empty() ? ComErrorMessage(hr) : message);
}

class ComDispatch : public automation::Dispatch {
 public:
  explicit ComDispatch(IDispatch* object) : object_(object) {}

  void AddRef() override { ++references_; }
  void Release() override {
    if (--references_ == 0) delete this;
  }

  Status Invoke(automation::DispId member, InvokeKind kind, const std::vector<Variant>& args,
                Variant* result) override {
    *result = Variant();
    // COM takes the arguments last first.
    std::vector<VARIANT> reversed(args.size());
    HRESULT hr = S_OK;
    for (size_t i = 0; i < args.size() && SUCCEEDED(hr); ++i) {
      hr = ToComVariant(args[i], &reversed[args.size() - 1 - i]);
    }
    VARIANT answer;
    VariantInit(&answer);
    EXCEPINFO exception{};
    if (SUCCEEDED(hr)) {
      DISPID put = DISPID_PROPERTYPUT;
      DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
      if (kind == InvokeKind::kPropertyPut) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
      }
      UINT bad_argument = 0;
      hr = object_->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, FlagsOf(kind), &params,
                           kind == InvokeKind::kPropertyPut ? nullptr : &answer, &exception,
                           &bad_argument);
    }
    for (VARIANT& v : reversed) VariantClear(&v);
    if (FAILED(hr)) return ErrorOf(hr, exception);
    hr = FromComVariant(answer, result);
    VariantClear(&answer);
    return SUCCEEDED(hr) ? Status::Ok() : Status::Error(hr, ComErrorMessage(hr));
  }

 private:
  ~ComDispatch() override { object_->Release(); }

  IDispatch* object_;
  int references_ = 1;
};

}  // namespace

automation::DispatchRef WrapDispatch(IDispatch* object) {
  return automation::DispatchRef::Adopt(new ComDispatch(object));
}

}  // namespace sr::win32
