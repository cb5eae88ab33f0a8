#ifndef SALARY_PLATFORM_AUTOMATION_AUTOMATION_H_
#define SALARY_PLATFORM_AUTOMATION_AUTOMATION_H_

#include <cstdint>
#include <utility>
#include <vector>

#include "base/value.h"

namespace sr::automation {

// Result codes of automation calls, with the values that COM gives them.
using HResult = int32_t;
constexpr HResult kOk = 0;
constexpr HResult kUnexpected = static_cast<HResult>(0x8000FFFF);          // E_UNEXPECTED
constexpr HResult kMemberNotFound = static_cast<HResult>(0x80020003);      // DISP_E_MEMBERNOTFOUND
constexpr HResult kParamNotFound = static_cast<HResult>(0x80020004);       // DISP_E_PARAMNOTFOUND
constexpr HResult kTypeMismatch = static_cast<HResult>(0x80020005);        // DISP_E_TYPEMISMATCH
constexpr HResult kException = static_cast<HResult>(0x80020009);           // DISP_E_EXCEPTION
constexpr HResult kBadIndex = static_cast<HResult>(0x8002000B);            // DISP_E_BADINDEX
constexpr HResult kBadParamCount = static_cast<HResult>(0x8002000E);       // DISP_E_BADPARAMCOUNT
constexpr HResult kClassNotRegistered = static_cast<HResult>(0x80040154);  // REGDB_E_CLASSNOTREG
constexpr HResult kInvalidClassString = static_cast<HResult>(0x800401F3);  // CO_E_CLASSSTRING

// The outcome of an automation call: a code and, on failure, the system's message for it (GBK).
struct Status {
  HResult code = kOk;
  Text message;
  bool ok() const { return code >= 0; }
  static Status Ok() { return Status(); }
  static Status Error(HResult code, Text message) { return Status{code, std::move(message)}; }
};

using DispId = int32_t;

enum class InvokeKind { kMethod, kPropertyGet, kPropertyPut };

class Dispatch;

// A counted reference to a dispatch object: copying adds a reference, destroying or resetting
// releases it. An empty reference is "none".
class DispatchRef {
 public:
  DispatchRef() = default;
  // Takes over a reference that the caller already counted (a new object's first one).
  static DispatchRef Adopt(Dispatch* object);
  DispatchRef(const DispatchRef& other);
  DispatchRef(DispatchRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  DispatchRef& operator=(DispatchRef other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~DispatchRef() { Reset(); }

  void Reset();
  Dispatch* get() const { return object_; }
  Dispatch* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  Dispatch* object_ = nullptr;
};

// An automation argument or result. Texts are GBK; a missing optional argument is kError with
// kParamNotFound, as COM passes it.
struct Variant {
  enum class Type { kEmpty, kI4, kBstr, kBool, kError, kDispatch };

  static Variant I4(int32_t v) {
    Variant r;
    r.type = Type::kI4;
    r.i4 = v;
    return r;
  }
  static Variant Bstr(Text v) {
    Variant r;
    r.type = Type::kBstr;
    r.bstr = std::move(v);
    return r;
  }
  static Variant Bool(bool v) {
    Variant r;
    r.type = Type::kBool;
    r.boolean = v;
    return r;
  }
  static Variant Missing() {
    Variant r;
    r.type = Type::kError;
    r.i4 = kParamNotFound;
    return r;
  }
  static Variant Object(DispatchRef v) {
    Variant r;
    r.type = Type::kDispatch;
    r.object = std::move(v);
    return r;
  }

  Type type = Type::kEmpty;
  int32_t i4 = 0;  // also the code of kError
  bool boolean = false;
  Text bstr;
  DispatchRef object;
};

// An automation object (IDispatch): reference counted, members invoked by dispatch id.
// Arguments are in their natural order (first argument first).
class Dispatch {
 public:
  virtual void AddRef() = 0;
  // Drops a reference; the last one destroys the object.
  virtual void Release() = 0;
  // Calls a member. On success *result holds the member's result (kEmpty for none); on failure
  // the Status says why and *result is left empty. An implementation may also throw; callers
  // guard every call.
  virtual Status Invoke(DispId member, InvokeKind kind, const std::vector<Variant>& args,
                        Variant* result) = 0;

 protected:
  virtual ~Dispatch() = default;
};

// Counts references for an implementation; the last Release deletes the object.
class CountedDispatch : public Dispatch {
 public:
  void AddRef() override { ++references_; }
  void Release() override {
    if (--references_ == 0) delete this;
  }

 private:
  int references_ = 1;
};

// The automation system: makes objects by ProgID ("Excel.Application").
class AutomationSeam {
 public:
  virtual ~AutomationSeam() = default;
  // Creates an object of the class registered for `prog_id`. An unknown ProgID gives
  // kInvalidClassString.
  virtual Status CreateObject(const Text& prog_id, DispatchRef* object) = 0;
};

inline DispatchRef DispatchRef::Adopt(Dispatch* object) {
  DispatchRef r;
  r.object_ = object;
  return r;
}

inline DispatchRef::DispatchRef(const DispatchRef& other) : object_(other.object_) {
  if (object_) object_->AddRef();
}

inline void DispatchRef::Reset() {
  if (object_) std::exchange(object_, nullptr)->Release();
}

}  // namespace sr::automation

#endif  // SALARY_PLATFORM_AUTOMATION_AUTOMATION_H_
