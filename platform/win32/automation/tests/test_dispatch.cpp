// A small automation object for the tests, served in-process from a DLL for any class id it is
// asked for (each test registers a class of its own, so that parallel tests do not meet in the
// registry). Its members, by dispatch id:
//   1     Caption          property, VT_BSTR
//   2     Add(a, b)        method, VT_I4 a and b, returns VT_I4
//   3     Cells(row, col)  indexed property: get gives "r<row>c<col>" or what was put, put VT_BSTR
//   5     Fail             method: raises an exception with a Chinese description
//   1000  Log              property get: every call any object took, one line each
//   other                  a property get gives a new object of this kind; a method or a put
//                          succeeds; both only leave their line in the log
// A line of the log: "get|put|call <dispid in hex>" and each argument as " <type>:<value>".
#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

namespace {

std::atomic<long> g_objects{0};
std::wstring g_log;

std::wstring Hex(unsigned long value) {
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%lX", value);
  return text;
}

std::wstring Describe(const VARIANT& v) {
  switch (v.vt) {
    case VT_I4: return L" VT_I4:" + std::to_wstring(v.lVal);
    case VT_BOOL: return L" VT_BOOL:" + std::to_wstring(v.boolVal);
    case VT_ERROR: return L" VT_ERROR:" + Hex(static_cast<unsigned long>(v.scode));
    case VT_BSTR: return L" VT_BSTR:" + std::wstring(v.bstrVal, SysStringLen(v.bstrVal));
    default: return L" VT_" + std::to_wstring(v.vt);
  }
}

void Record(DISPID id, WORD flags, const DISPPARAMS* params) {
  g_log += (flags & DISPATCH_PROPERTYPUT) ? L"put " : (flags & DISPATCH_PROPERTYGET) ? L"get "
                                                                                     : L"call ";
  g_log += Hex(static_cast<unsigned long>(id));
  for (UINT n = params->cArgs; n-- > 0;) g_log += Describe(params->rgvarg[n]);
  g_log += L"\n";
}

HRESULT ReturnText(const std::wstring& text, VARIANT* result) {
  if (result == nullptr) return S_OK;
  result->vt = VT_BSTR;
  result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return S_OK;
}

HRESULT ReturnInt(long value, VARIANT* result) {
  if (result != nullptr) {
    result->vt = VT_I4;
    result->lVal = value;
  }
  return S_OK;
}

template <typename Interface>
class Unknown : public Interface {
 public:
  explicit Unknown(const IID& iid) : iid_(iid) {}
  virtual ~Unknown() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == iid_) {
      *out = static_cast<Interface*>(this);
      this->AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  const IID& iid_;
  std::atomic<long> references_{1};
};

class TestObject : public Unknown<IDispatch> {
 public:
  TestObject() : Unknown(IID_IDispatch) { ++g_objects; }
  ~TestObject() override { --g_objects; }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* bad) override {
    if (result != nullptr) VariantInit(result);
    if (id == 1000) return ReturnText(g_log, result);
    Record(id, flags, params);
    const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
    switch (id) {
      case 1:
        if (!put) return ReturnText(caption_, result);
        if (params->cArgs != 1 || params->rgvarg[0].vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
        caption_.assign(params->rgvarg[0].bstrVal, SysStringLen(params->rgvarg[0].bstrVal));
        return S_OK;
      case 2:
        if (params->cArgs != 2) return DISP_E_BADPARAMCOUNT;
        for (UINT n = 0; n < 2; ++n) {
          if (params->rgvarg[n].vt != VT_I4) {
            if (bad != nullptr) *bad = n;
            return DISP_E_TYPEMISMATCH;
          }
        }
        return ReturnInt(params->rgvarg[0].lVal + params->rgvarg[1].lVal, result);
      case 3:
        return Cells(put, params, result);
      case 4:
        return DISP_E_MEMBERNOTFOUND;
      case 5:
        if (exception != nullptr) {
          *exception = EXCEPINFO{};
          exception->scode = DISP_E_EXCEPTION;
          exception->bstrDescription = SysAllocString(L"单元格不接受这个值");
        }
        return DISP_E_EXCEPTION;
    }
    if (!put && (flags & DISPATCH_PROPERTYGET) && result != nullptr) {
      result->vt = VT_DISPATCH;
      result->pdispVal = new TestObject;
    }
    return S_OK;
  }

 private:
  HRESULT Cells(bool put, DISPPARAMS* params, VARIANT* result) {
    const UINT indexes = put ? params->cArgs - 1 : params->cArgs;
    if (indexes != 2) return DISP_E_BADPARAMCOUNT;
    const VARIANT& row = params->rgvarg[params->cArgs - 1];
    const VARIANT& column = params->rgvarg[params->cArgs - 2];
    if (row.vt != VT_I4 || column.vt != VT_I4) return DISP_E_TYPEMISMATCH;
    const auto key = std::make_pair(row.lVal, column.lVal);
    if (put) {
      if (params->rgvarg[0].vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
      cells_[key].assign(params->rgvarg[0].bstrVal, SysStringLen(params->rgvarg[0].bstrVal));
      return S_OK;
    }
    auto found = cells_.find(key);
    return ReturnText(found != cells_.end() ? found->second
                                            : L"r" + std::to_wstring(row.lVal) + L"c" +
                                                  std::to_wstring(column.lVal),
                      result);
  }

  std::wstring caption_;
  std::map<std::pair<long, long>, std::wstring> cells_;
};

class Factory : public Unknown<IClassFactory> {
 public:
  Factory() : Unknown(IID_IClassFactory) {}
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    TestObject* object = new TestObject;
    const HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID, REFIID iid,
                                                                          void** out) {
  Factory* factory = new Factory;
  const HRESULT hr = factory->QueryInterface(iid, out);
  factory->Release();
  return hr;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return g_objects == 0 ? S_OK : S_FALSE;
}
