#ifndef SALARY_PLATFORM_WIN32_AUTOMATION_COM_VARIANT_H_
#define SALARY_PLATFORM_WIN32_AUTOMATION_COM_VARIANT_H_

#include <windows.h>
#include <oaidl.h>

#include "platform/automation/automation.h"

namespace sr::win32 {

// An automation argument as COM passes it. Texts become BSTRs through code page 936 and objects
// are handed on with one more reference; VariantClear releases both. A text that code page 936
// does not define gives DISP_E_TYPEMISMATCH and leaves *out empty.
HRESULT ToComVariant(const automation::Variant& in, VARIANT* out);

// A result as the program sees it: VT_I2/VT_I4/VT_UI1 become kI4, VT_BSTR a GBK text, VT_BOOL,
// VT_ERROR, VT_DISPATCH (wrapped, with its own reference), VT_EMPTY and VT_NULL kEmpty.
// Anything else is converted to VT_BSTR first; what cannot be gives DISP_E_TYPEMISMATCH.
HRESULT FromComVariant(const VARIANT& in, automation::Variant* out);

// The system's message for an HRESULT, in GBK, without the trailing line break; a made-up
// "0x...." line when the system knows none.
Text ComErrorMessage(HRESULT code);

// Wraps an IDispatch into the program's Dispatch, taking over the caller's reference.
automation::DispatchRef WrapDispatch(IDispatch* object);

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_AUTOMATION_COM_VARIANT_H_
