#include "platform/win32/automation/com_variant.h"

#include <oleauto.h>

#include <cstdio>
#include <optional>
#include <string>

#include "platform/win32/text/wide_text.h"

namespace sr::win32 {

using automation::Variant;

HRESULT ToComVariant(const Variant& in, VARIANT* out) {
  VariantInit(out);
  switch (in.type) {
    case Variant::Type::kEmpty:
      return S_OK;
    case Variant::Type::kI4:
      out->vt = VT_I4;
      out->lVal = in.i4;
      return S_OK;
    case Variant::Type::kBool:
      out->vt = VT_BOOL;
      out->boolVal = in.boolean ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    case Variant::Type::kError:
      out->vt = VT_ERROR;
      out->scode = in.i4;
      return S_OK;
    case Variant::Type::kBstr: {
      std::optional<std::wstring> wide = GbkToWide(in.bstr);
      if (!wide) return DISP_E_TYPEMISMATCH;
      out->bstrVal = SysAllocStringLen(wide->data(), static_cast<UINT>(wide->size()));
      if (out->bstrVal == nullptr) return E_OUTOFMEMORY;
      out->vt = VT_BSTR;
      return S_OK;
    }
    case Variant::Type::kDispatch:
      return DISP_E_TYPEMISMATCH;  // the caller hands on objects it made through COM itself
  }
  return DISP_E_TYPEMISMATCH;
}

HRESULT FromComVariant(const VARIANT& in, Variant* out) {
  *out = Variant();
  switch (in.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return S_OK;
    case VT_I4:
      *out = Variant::I4(in.lVal);
      return S_OK;
    case VT_I2:
      *out = Variant::I4(in.iVal);
      return S_OK;
    case VT_UI1:
      *out = Variant::I4(in.bVal);
      return S_OK;
    case VT_BOOL:
      *out = Variant::Bool(in.boolVal != VARIANT_FALSE);
      return S_OK;
    case VT_ERROR:
      out->type = Variant::Type::kError;
      out->i4 = in.scode;
      return S_OK;
    case VT_DISPATCH:
      if (in.pdispVal != nullptr) {
        in.pdispVal->AddRef();
        *out = Variant::Object(WrapDispatch(in.pdispVal));
      }
      return S_OK;
    case VT_BSTR: {
      std::optional<std::string> gbk =
          WideToGbk(std::wstring_view(in.bstrVal, SysStringLen(in.bstrVal)));
      if (!gbk) return DISP_E_TYPEMISMATCH;
      *out = Variant::Bstr(std::move(*gbk));
      return S_OK;
    }
    default: {
      // Numbers of other widths, dates, currency: as the text the system shows for them.
      VARIANT text;
      VariantInit(&text);
      HRESULT hr = VariantChangeType(&text, const_cast<VARIANT*>(&in), 0, VT_BSTR);
      if (SUCCEEDED(hr)) hr = FromComVariant(text, out);
      VariantClear(&text);
      return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
    }
  }
}

Text ComErrorMessage(HRESULT code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring message(buffer != nullptr ? buffer : L"", length);
  if (buffer != nullptr) LocalFree(buffer);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) {
    message.pop_back();
  }
  std::optional<std::string> gbk = WideToGbk(message);
  if (!message.empty() && gbk) return *gbk;
  char made_up[32];
  std::snprintf(made_up, sizeof made_up, "0x%08lX", static_cast<unsigned long>(code));
  return made_up;
}

}  // namespace sr::win32
