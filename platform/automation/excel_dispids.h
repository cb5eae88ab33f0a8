#ifndef SALARY_PLATFORM_AUTOMATION_EXCEL_DISPIDS_H_
#define SALARY_PLATFORM_AUTOMATION_EXCEL_DISPIDS_H_

#include "platform/automation/automation.h"

// Dispatch ids of the spreadsheet application's members that the program uses, as Excel's
// published type library numbers them. Both the wrappers and our own application object use
// them.
namespace sr::excel_member {
constexpr automation::DispId kValue = 0x06;
constexpr automation::DispId kBold = 0x60;  // Font
constexpr automation::DispId kFont = 0x92;  // Range
constexpr automation::DispId kApplication = 0x94;
constexpr automation::DispId kItem = 0xAA;
constexpr automation::DispId kAdd = 0xB5;
constexpr automation::DispId kNumberFormat = 0xC1;  // Range
constexpr automation::DispId kRange = 0xC5;
constexpr automation::DispId kAutoFit = 0xED;       // Range, of whole columns or rows
constexpr automation::DispId kEntireColumn = 0xF6;  // Range
constexpr automation::DispId kClose = 0x115;
constexpr automation::DispId kQuit = 0x12E;
constexpr automation::DispId kActivate = 0x130;
constexpr automation::DispId kSheets = 0x1E5;
constexpr automation::DispId kVisible = 0x22E;
constexpr automation::DispId kWorkbooks = 0x23C;
constexpr automation::DispId kFreezePanes = 0x28A;   // Window
constexpr automation::DispId kSplitColumn = 0x292;   // Window
constexpr automation::DispId kSplitRow = 0x294;      // Window
constexpr automation::DispId kActiveWindow = 0x2F7;  // Application
}  // namespace sr::excel_member

#endif  // SALARY_PLATFORM_AUTOMATION_EXCEL_DISPIDS_H_
