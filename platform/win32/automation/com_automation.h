#ifndef SALARY_PLATFORM_WIN32_AUTOMATION_COM_AUTOMATION_H_
#define SALARY_PLATFORM_WIN32_AUTOMATION_COM_AUTOMATION_H_

#include "platform/automation/automation.h"

namespace sr::win32 {

// The automation seam over COM: an object is looked up by ProgID in the registry, created
// in-process or in its own server process (as Excel is), and driven through IDispatch by
// dispatch id. The thread that makes it is initialised for COM (single-threaded apartment) for
// the object's lifetime; every call must come from that thread.
class ComAutomation : public automation::AutomationSeam {
 public:
  ComAutomation();
  ~ComAutomation() override;
  ComAutomation(const ComAutomation&) = delete;
  ComAutomation& operator=(const ComAutomation&) = delete;

  // An unknown ProgID gives kInvalidClassString, a ProgID whose class cannot be created the
  // system's code for that (REGDB_E_CLASSNOTREG, a server that failed to start, ...). The
  // status's message is the system's text for the code, in GBK.
  automation::Status CreateObject(const Text& prog_id, automation::DispatchRef* object) override;

 private:
  bool initialised_ = false;
};

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_AUTOMATION_COM_AUTOMATION_H_
